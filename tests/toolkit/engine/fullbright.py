"""Rewrites DOOM 3 material text so that the renderer draws every surface at full brightness.

Without DOOM 3's lights working reliably on a software renderer, a picture of a level is
taken unlit: a stage lit by light interactions (`blend diffusemap`, or the `diffusemap X`
shorthand) becomes a plain opaque stage of the same image, with all its other lines
(scale, translate, alphaTest, ...) kept; bump and specular stages and shorthands, which
only feed the lighting, are dropped. Everything outside stages (surface flags, sky
stages, tables, other declarations) is kept as it was, so sealing and transparency do
not change. Braces are put on lines of their own first, so one-line stages are handled
too; comments are removed. The text is not otherwise checked.
"""
import re

import mtrtext

_SHORTHAND = re.compile(r'^(diffusemap|bumpmap|specularmap)\s+(.+)$', re.I)
_LIGHTING_BLEND = re.compile(r'^blend\s+(bumpmap|specularmap)$', re.I)
_DIFFUSE_BLEND = re.compile(r'^blend\s+diffusemap$', re.I)


def _stage(lines):
    """A stage's lines (between its braces), unlit; None when the stage only feeds lighting."""
    if any(_LIGHTING_BLEND.match(line) for line in lines):
        return None
    return [line for line in lines if not _DIFFUSE_BLEND.match(line)]


def convert(text):
    """The full-bright version of a material file's text."""
    out = []
    depth = 0
    stage = None  # the lines of the stage being read, at depth 2
    for line in mtrtext.lines(text):
        if stage is not None:
            if line == '{':
                depth += 1
                stage.append(line)
            elif line == '}' and depth == 2:
                depth = 1
                kept = _stage(stage)
                if kept is not None:
                    out += ['\t{'] + ['\t\t' + x for x in kept] + ['\t}']
                stage = None
            else:
                depth -= line == '}'
                stage.append(line)
            continue
        if line == '{':
            depth += 1
            if depth == 2:
                stage = []
                continue
            out.append(line)
            continue
        if line == '}':
            depth = max(0, depth - 1)
            out.append(line)
            continue
        shorthand = _SHORTHAND.match(line) if depth == 1 else None
        if shorthand:
            if shorthand.group(1).lower() == 'diffusemap':
                out += ['\t{', '\t\tmap ' + shorthand.group(2), '\t}']
            continue
        out.append(('\t' if depth else '') + line)
    return '\n'.join(out) + '\n'
