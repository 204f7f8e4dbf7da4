# SPDX-License-Identifier: MIT
# Each case runs the program on NAME.in and expects NAME.out and the status.
# A refused answer makes the status 1, however the dialogue ends.

# One calculation from selection to result, then 99.
brelix_transcript(road 0)
# Every entry once, with small fractions, a result in exponent notation, 99.
brelix_transcript(all_entries 0)
# Answers for several prompts on one line; 99 without a final line feed.
brelix_transcript(one_line 0)
# Selections that are no entry bring the menu back; 1.0 and 9.9e1 select.
brelix_transcript(ignored_selections 0)
# Garbage at the selection and at calculation prompts: hint, same prompt,
# and status 1 although the dialogue ends with 99. A byte 0x1A is garbage
# like any other, not the end of the input.
brelix_transcript(hint_reprompt 1)
# A number directly followed by a comma is refused at its own prompt, at the
# selection and at each of the six prompts; "25 ,5" reads 25, and the comma
# is refused at the next prompt.
brelix_transcript(decimal_comma 1)
# Numbers too large for a float are garbage, even at the end of input.
brelix_transcript(overflow 1)
# Input ending at the selection prompt ends the dialogue with status 0,
# unless an answer was refused before.
brelix_transcript(eof_at_selection 0)
brelix_transcript(empty_input 0)
brelix_transcript(eof_after_selection_hint 1)
# Input ending inside a calculation: status 1, nothing more written.
brelix_transcript(eof_in_calculation 1)
brelix_transcript(eof_in_number 1)
brelix_transcript(eof_in_broken_exponent 1)
brelix_transcript(eof_after_hint 1)
brelix_transcript(comma_at_end 1)
# Zero divisors give -0, inf, -inf and nan.
brelix_transcript(zero_divisors 0)
# Signs, leading zeros, exponents and points in every place.
brelix_transcript(number_spellings 0)
