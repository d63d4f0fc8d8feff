"""Material text as the runner's material rewrites read it: comments removed, every brace on
a line of its own, other lines stripped and their blanks squeezed. Nothing is checked."""
import re

_COMMENTS = re.compile(r'//[^\n]*|/\*.*?\*/', re.S)
_BRACES = re.compile(r'([{}])')


def lines(text):
    """The material text as stripped lines, each brace on a line of its own."""
    text = _COMMENTS.sub(lambda m: '\n' * m.group(0).count('\n'), text)
    out = []
    for line in _BRACES.sub(r'\n\1\n', text).split('\n'):
        line = ' '.join(line.split())
        if line:
            out.append(line)
    return out
