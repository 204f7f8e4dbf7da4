#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Feeds the same random dialogues to a reference build of brelix and to other
builds (cross-built ones behind qemu) and checks that each writes the very
same bytes, on standard output and standard error, and exits with the same
status. The dialogues come from a fixed seed: long ones with many
calculations in one process, and short ones cut at a random byte.

Usage: equivalence.py [--seed N] [--long N] [--calcs N] [--short N]
                      REFERENCE COMMAND...   (each COMMAND one quoted string)
"""
import argparse
import concurrent.futures
import fractions
import random
import shlex
import subprocess
import sys

GARBAGE = ["abc", "x", "Grad", "\xe4\xf6\xfc\xdf", "nan", "inf", "-inf", "0x1p3", ",", "25,5", "1,",
           "1e", "+", "-", ".", "+.", "-.", "1e+", "1E-", "-e5", ".e1", "+E", "1..2", "1e5e5", "--1",
           "+-3", "e", "\x00", "\x1a", "\x7f", "\xff", "25\xb0C", "#", ";", "1/2"]
SPACES = [" ", " ", " ", "\n", "\n", "\t", "  ", "\n\n", " \t ", "\r\n", "\f", "\v", "\n \n"]
EXTREMES = ["0", "-0", "0.0e5", "+0", "1e38", "3.4028234e38", "3.4028235e38", "3.40282357e38",
            "-3.4028235e38", "1e39", "-1e39", "1e300", "1e-38", "1.17549435e-38", "1e-39", "1e-45",
            "1.4e-45", "7e-46", "1e-46", "-1e-46", "1e-300", "123456789012345678901234567890",
            "0.000000000000000000000000000000000000001", "16777217", "33554433", "8388608.5"]


def exact(value):
    """The exact decimal expansion of a binary fraction."""
    whole, rest = divmod(value, 1)
    digits = ""
    while rest:
        rest *= 10
        digits += str(rest.numerator // rest.denominator)
        rest -= rest.numerator // rest.denominator
    return "%d.%s" % (whole, digits or "0")


def long_digits(rng):
    """A number with far more digits than a float holds: a random run, or one
    just above, at or below the midpoint between two floats, past its last
    digit."""
    if rng.random() < 0.5:
        digits = "".join(rng.choice("0123456789") for _ in range(rng.randint(100, 400)))
        point = rng.randint(0, len(digits))
        text = digits[:point] + "." + digits[point:]
        return text + ("e%d" % rng.randint(-300, 0) if rng.random() < 0.5 else "")
    exponent = rng.randint(-149, 10)
    midpoint = fractions.Fraction(2 * rng.randint(2**23, 2**24 - 1) + 1, 2) * fractions.Fraction(2) ** (exponent - 23)
    text = exact(midpoint)
    tail = "0" * rng.randint(0, 150)
    return rng.choice([text, text + tail + "1", text[:-1] + str(int(text[-1]) - 1) + "9" * len(tail)])


def spell(rng, value):
    """One way of writing value that the dialogue reads as a number."""
    style = rng.randrange(8)
    if style == 0:
        text = repr(value)
    elif style == 1:
        text = "%.*f" % (rng.randrange(0, 4), value)
    elif style == 2:
        text = "%.*e" % (rng.randrange(0, 9), value)
        text = text.replace("e", rng.choice(["e", "E"])).replace("e+0", rng.choice(["e+0", "e", "e0"]))
    elif style == 3:
        text = "%.9g" % value
    else:
        text = "%.6g" % value
    if rng.random() < 0.1 and not text.startswith("-"):
        text = "+" + text
    if rng.random() < 0.05:
        text = text.replace("0.", ".", 1) if text.startswith(("0.", "-0.")) else "00" + text.lstrip("+")
    return text


def magnitude(rng):
    """A value anywhere from 1e-15 to 1e15, of either sign."""
    value = rng.uniform(1, 10) * 10.0 ** rng.randint(-15, 15)
    return -value if rng.random() < 0.3 else value


def amount(rng):
    return round(rng.uniform(0.1, 2000), rng.randrange(0, 4))


def temperature(rng):
    return round(rng.uniform(-5, 40), rng.randrange(0, 3))


def answers(rng, entry):
    """The four answers of one calculation, as text, in the order asked."""
    kind = rng.random()
    if kind < 0.45:
        # Plausible: amounts and temperatures of a real water change.
        values = [amount(rng), amount(rng), temperature(rng), temperature(rng)]
        if entry == 4:
            values = [amount(rng), temperature(rng), temperature(rng), temperature(rng)]
        return [spell(rng, v) for v in values]
    if kind < 0.65:
        # Cancellation: temperatures equal or a hair apart, amounts far apart.
        base = temperature(rng)
        near = [spell(rng, base), repr(base + rng.choice([0, 1e-6, -1e-6, 1e-4, 2.0 ** -18]))]
        if rng.random() < 0.5:
            near.append(spell(rng, base))
        else:
            near.append("%.8g" % (base + rng.uniform(-1e-3, 1e-3)))
        rng.shuffle(near)
        big = [spell(rng, amount(rng) * 10.0 ** rng.randint(0, 12)), spell(rng, amount(rng))]
        rng.shuffle(big)
        return big[:1] + near if entry == 4 else big + near[:2]
    if kind < 0.8:
        return [spell(rng, magnitude(rng)) for _ in range(4)]
    if kind < 0.9:
        # Zero divisors: m1 + m2, m1, m2 or t1 - t2 is zero.
        a, t = "%g" % amount(rng), "%g" % temperature(rng)
        values = {1: [a, "-" + a, t, t], 2: ["0", a, t, t], 3: [a, rng.choice(["0", "-0"]), t, t],
                  4: [a, t, spell(rng, temperature(rng)), t]}[entry]
        return values
    return [rng.choice([rng.choice(EXTREMES), long_digits(rng), spell(rng, magnitude(rng))]) for _ in range(4)]


def selection(rng):
    if rng.random() < 0.92:
        entry = rng.randint(1, 4)
        return entry, rng.choice([str(entry)] * 6 + ["%d.0" % entry, "0%d" % entry, "+%d" % entry,
                                                     "%de0" % entry, ".%de1" % entry, "%d." % entry])
    return None, rng.choice(["5", "0", "-1", "98.9", "1.5", "100", "4.0000001", "-0", "99.5", "1e-45"])


def calculation(rng):
    """One selection and its answers, with garbage and odd white space."""
    entry, chosen = selection(rng)
    parts = [chosen]
    if entry:
        for answer in answers(rng, entry):
            if rng.random() < 0.06:
                # A wrong answer discards the rest of its line.
                parts.append(rng.choice(GARBAGE) + rng.choice(["", " tail x"]) + "\n")
            parts.append(answer)
    text = ""
    for part in parts:
        text += part if part.endswith("\n") else part + rng.choice(SPACES)
    return text


def dialogue(rng, calcs, cut):
    text = "".join(calculation(rng) for _ in range(calcs))
    if cut:
        return text[: rng.randrange(len(text) + 1)]
    return text + rng.choice(["99\n", "99\n", "99", "9.9e1\n", "", "garbage\n", "1 2 3"])


def run(command, data):
    done = subprocess.run(command, input=data, capture_output=True, timeout=120, check=False)
    return done.stdout, done.stderr, done.returncode


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--seed", type=int, default=20261207)
    parser.add_argument("--long", type=int, default=20, help="long dialogues")
    parser.add_argument("--calcs", type=int, default=200, help="calculations in each long dialogue")
    parser.add_argument("--short", type=int, default=100, help="short dialogues cut at a random byte")
    parser.add_argument("reference")
    parser.add_argument("commands", nargs="+")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    inputs = [dialogue(rng, args.calcs, False) for _ in range(args.long)]
    inputs += [dialogue(rng, rng.randint(1, 4), True) for _ in range(args.short)]
    inputs = [text.encode("latin-1") for text in inputs]

    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        expected = list(pool.map(lambda data: run([args.reference], data), inputs))
        results = sum(out.count(b" Grad Celsius\n") + out.count(b" Liter\n") for out, _, _ in expected)
        statuses = sorted({status for _, _, status in expected})
        print("%d dialogues, %d results, exit statuses %s" % (len(inputs), results, statuses))
        failed = False
        for command in args.commands:
            actual = list(pool.map(lambda data, c=command: run(shlex.split(c), data), inputs))
            # Under wine on a busy machine, now and then none of a run's
            # output arrives, though it ends with the right status (seen
            # with the same program passing the same dialogue before and
            # after). Such a run is made once more, and said.
            for i, (a, e) in enumerate(zip(actual, expected)):
                if a != e and a[:2] == (b"", b"") and e[0] and a[2] == e[2]:
                    print("  dialogue %d: none of its output arrived, with the right status; once more" % i)
                    actual[i] = run(shlex.split(command), inputs[i])
            differ = [i for i, (a, e) in enumerate(zip(actual, expected)) if a != e]
            print("%s: %s" % (command, "identical" if not differ else "%d differ" % len(differ)))
            for i in differ[:3]:
                print("  dialogue %d differs; its input: %r" % (i, inputs[i][:300]))
                for name, a, e in zip(["standard output", "standard error", "exit status"], actual[i], expected[i]):
                    if a != e:
                        print("    its %s: %r, not %r" % (name, a[-300:] if isinstance(a, bytes) else a,
                                                         e[-300:] if isinstance(e, bytes) else e))
            failed = failed or bool(differ)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
