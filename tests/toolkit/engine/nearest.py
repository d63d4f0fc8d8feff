"""Rewrites DOOM 3 material text so that surfaces sample their images' nearest texel.

The BFG engine filters every texture linearly with mipmaps and has no setting that turns it
off for the whole game (the old image_* settings are gone), so DOOM's small textures come
out blurred when a picture magnifies them. A stage's own `nearest` keyword gives the
unfiltered, unmipmapped look of DOOM's renderer. It is added to every stage of every
material; the light materials (`lights/...`, `fogs/...`) keep their smooth falloff, and
other declarations (tables, skins, entityDefs, ...) are left alone. The `diffusemap X`
shorthands become stages of their own to take the keyword. Comments are removed and lines
re-indented; nothing else changes. The text is not otherwise checked.
"""
import re

import mtrtext

_NOT_MATERIALS = {'table', 'skin', 'particle', 'sound', 'entitydef', 'fx', 'guide', 'mapdef', 'model',
                  'export', 'af', 'pda', 'email', 'video', 'audio'}
_UNFILTERED_PREFIXES = ('lights/', 'fogs/')
_SHORTHAND = re.compile(r'^(diffusemap|bumpmap|specularmap)\s+(.+)$', re.I)


def sharpened(declaration):
    """Whether the material declared by this line gets nearest sampling."""
    words = declaration.split()
    if not words or words[0].lower() in _NOT_MATERIALS:
        return False
    return not words[-1].lower().startswith(_UNFILTERED_PREFIXES)


def convert(text):
    """The material file's text with `nearest` in the stages of every texture material."""
    out = []
    depth = 0
    declaration = ''
    sharp = False
    for line in mtrtext.lines(text):
        if line == '{':
            if depth == 0:
                sharp = sharpened(declaration)
            out.append('\t' * depth + '{')
            depth += 1
            if depth == 2 and sharp:
                out.append('\t\tnearest')
        elif line == '}':
            depth = max(0, depth - 1)
            out.append('\t' * depth + '}')
        else:
            shorthand = _SHORTHAND.match(line) if depth == 1 and sharp else None
            if shorthand:
                out += ['\t{', '\t\tblend ' + shorthand.group(1), '\t\tmap ' + shorthand.group(2), '\t\tnearest',
                        '\t}']
            else:
                out.append('\t' * depth + line)
            if depth == 0:
                declaration = line
    return '\n'.join(out) + '\n'
