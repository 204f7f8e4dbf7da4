#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Every dialogue the documents quote is the program's own, answers and
results included: the example of each man page as groff (in German
typesetting too) and mandoc render it, with the script line after it; each
man page's menu; the README's example, its table of the four entries and its
line for scripts. The program is run on the answers a quote shows, and the
quote must be a run of lines of what a terminal would show: the program's
output with each answer typed after its prompt.

Usage: .ci/quotes.py BUILD   (BUILD holds brelix and doc/{en,de}/brelix.1)
"""
import os
import re
import subprocess
import sys

build = sys.argv[1]
program = os.path.join(build, "brelix")
failures = []


def fail(where, message, quoted=None):
    failures.append(f"{where}: {message}" + (f"\n    {quoted!r}" if quoted is not None else ""))


def run(answers):
    """The program's output, as text, for the answers and then the input's end."""
    data = "".join(a + "\n" for a in answers).encode("latin-1")
    done = subprocess.run([program], input=data, capture_output=True, check=False, timeout=30)
    return done.stdout.decode("latin-1")


def parts(output):
    """The output cut after each prompt the program waits at."""
    return re.split(r"(?<=: )(?=\n|$)", output)


def screen(answers):
    """The terminal's lines: the output with each answer typed after its prompt."""
    pieces = parts(run(answers))
    text = pieces[0] + "".join(a + "\n" + p for a, p in zip(answers, pieces[1:]))
    return [line.rstrip() for line in text.split("\n")]


def answers_of(block):
    """The answers that a quoted dialogue shows, found prompt by prompt: the
    program is run on those found so far, and the line of the quote that
    starts with the prompt it then waits at holds the next one."""
    answers, at = [], 0
    while at < len(block):
        prompt = parts(run(answers))[len(answers)].rsplit("\n", 1)[-1]
        line = next((i for i in range(at, len(block)) if block[i].startswith(prompt)), None)
        if line is None:
            break
        answers.append(block[line][len(prompt):].strip())
        at = line + 1
    return answers


def check_dialogue(where, block):
    """The quote's lines stand together, in order, on the terminal."""
    block = [line.rstrip() for line in block]
    answers = answers_of(block)
    if not answers:
        return fail(where, "quotes no prompt the program asks", block[0] if block else "")
    lines = screen(answers)
    if not any(lines[i:i + len(block)] == block for i in range(len(lines))):
        first = next((i for i, line in enumerate(block) if line not in lines), None)
        return fail(where, f"is not what the program shows for the answers {' '.join(answers)}",
                    block[first] if first is not None else "\n".join(block))
    return answers


def render(command, page):
    text = subprocess.run(command + [page], capture_output=True, check=True).stdout
    return subprocess.run(["col", "-bx"], input=text, capture_output=True, check=True).stdout.decode()


def section(text, heading):
    """The lines of a rendered man page's section."""
    lines = text.split("\n")
    start = next(i for i, line in enumerate(lines) if re.fullmatch(heading, line))
    end = next((i for i in range(start + 1, len(lines)) if re.match(r"\S", lines[i])), len(lines))
    return lines[start + 1:end]


def check_man(page):
    menu = run([]).split("\n")
    for command in (["groff", "-man", "-Tutf8", "-rLL=200n"], ["groff", "-man", "-mde", "-Tutf8", "-rLL=200n"],
                    ["mandoc", "-Tutf8", "-Owidth=200"]):
        where = f"{' '.join(command[:-2] if command[0] == 'groff' else command[:1])} {page}"
        text = render(command, page)
        # The menu's entries, the first numbered list of the description,
        # each with the words the program's menu gives it.
        entries = [m for line in section(text, r"DESCRIPTION|BESCHREIBUNG")
                   if (m := re.fullmatch(r" +(\d+) +([^:,.]+)[:,.].*", line))][:5]
        if [m[1] for m in entries] != ["1", "2", "3", "4", "99"]:
            fail(where, "does not list the entries 1, 2, 3, 4 and 99", [m[0] for m in entries])
        for m in entries:
            if not any(re.fullmatch(rf"\({m[1]}\) +{re.escape(m[2])}\b.*", line) for line in menu):
                fail(where, f"names entry {m[1]} otherwise than the menu", m[2])
        # The example: the indented lines of the section, with the blank
        # lines between them, and the script line that follows.
        lines = section(text, r"EXAMPLES?|BEISPIELE?")
        quoted = [i for i, line in enumerate(lines) if line.startswith(" " * 8) and line.strip()]
        if not quoted:
            fail(where, "quotes no dialogue")
            continue
        block = lines[quoted[0]:quoted[-1] + 1]
        indent = min(len(line) - len(line.lstrip()) for line in block if line.strip())
        answers = check_dialogue(where, [line[indent:] for line in block])
        script = re.search(r"printf '([^']*)\\n' \| brelix", "\n".join(lines[quoted[-1]:]))
        if answers and (not script or script[1].split() != answers + ["99"]):
            fail(where, f"has no script line with the answers {' '.join(answers)} and 99",
                 script[0] if script else None)


def check_readme():
    readme = open("README.md", encoding="utf-8").read()
    # The first quoted dialogue.
    block = re.search(r"^```\n(.*?)^```$", readme, re.M | re.S)[1].rstrip("\n").split("\n")
    check_dialogue("README's example", block)
    # The table of entries: the answers, then the result's value and unit.
    rows = re.findall(r"^\| (\d+) \|[^|]*\| ([-\d., ]+) \| ([^|]*) \|$", readme, re.M)
    if len(rows) != 4:
        fail("README", "has no table of the four entries")
    for entry, answers, said in rows:
        output = run([entry] + answers.split(", "))
        results = [m for line in output.split("\n") if (m := re.fullmatch(r".* : (\S+) (.+)", line))]
        if len(results) != 1 or not said.startswith(f"{results[0][1]} {results[0][2]}"):
            fail(f"README's table, entry {entry}", "gives another result than the program",
                 f"{said} / {results[0][0] if results else 'no result'}")
    # The line for scripts and the number it is said to write.
    script = re.search(r"schreibt nur die Zahl, hier `([^`]+)`:\n\n    (.*)\n", readme)
    if not script:
        return fail("README", "has no line for scripts")
    env = dict(os.environ, PATH=os.path.abspath(build) + os.pathsep + os.environ["PATH"])
    out = subprocess.run(["bash", "-c", script[2]], capture_output=True, env=env, check=False).stdout
    if out.decode("latin-1") != script[1] + "\n":
        fail("README's line for scripts", f"writes {out!r}, not {script[1]}", script[2])


for page in (f"{build}/doc/en/brelix.1", f"{build}/doc/de/brelix.1"):
    check_man(page)
check_readme()
if failures:
    print("\n".join(failures))
    sys.exit(1)
print("man pages and README: every quoted dialogue, menu entry, result and script line is the program's")
