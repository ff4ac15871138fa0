"""The examples of the README and the pages of docs/: shell sessions and Python sessions.

In a fenced block, a line starting with "$ " is a command and the lines under it, up to the next
command or the end of the block, are what it prints. "..." in a shown line stands for any text,
and a line of "..." alone for any number of lines, as in doctest. Python examples (">>> ") are
doctests; the fences around them are not part of their output.
"""

import doctest
import re
from dataclasses import dataclass, field


@dataclass
class ShellExample:
    page: str
    line: int  # of the command, 1-based
    command: str
    shown: list[str] = field(default_factory=list)


FENCE = re.compile(r"^\s*(```|~~~)")


def shell_examples(page, text):
    """The shell examples of one page, in order."""
    examples, fenced, current = [], False, None
    for number, line in enumerate(text.splitlines(), 1):
        if FENCE.match(line):
            fenced, current = not fenced, None
        elif fenced and line.startswith("$ "):
            current = ShellExample(page, number, line[2:])
            examples.append(current)
        elif fenced and current is not None:
            current.shown.append(line)
    return examples


def _line_pattern(shown):
    return re.compile("".join(".*" if part == "..." else re.escape(part)
                              for part in re.split(r"(\.\.\.)", shown)) + r"\Z", re.S)


def output_matches(shown, printed):
    """True when printed (lines) is what shown (lines, with "..." wildcards) says."""
    if not shown:
        return not printed
    if shown[0] == "...":
        return any(output_matches(shown[1:], printed[k:]) for k in range(len(printed) + 1))
    return bool(printed) and bool(_line_pattern(shown[0]).match(printed[0])) and \
        output_matches(shown[1:], printed[1:])


def python_examples(page, text, globs):
    """The page's Python examples as one doctest, its fence lines blanked out."""
    unfenced = "\n".join("" if FENCE.match(line) else line for line in text.splitlines())
    return doctest.DocTestParser().get_doctest(unfenced, globs, page, page, 0)


def broken_table_rows(text):
    """(line, cells, header cells) of each table row whose cell count is not its header's, the
    cells split as GitHub splits them: at every pipe not escaped, code spans included."""
    broken, header = [], None
    for number, line in enumerate(text.splitlines(), 1):
        if not line.startswith("|"):
            header = None
            continue
        cells = len(re.split(r"(?<!\\)\|", line.strip().strip("|")))
        if header is None:
            header = cells
        elif cells != header:
            broken.append((number, cells, header))
    return broken
