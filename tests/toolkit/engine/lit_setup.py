"""What a headless RBDOOM-3-BFG 1.4.0 run on Mesa llvmpipe needs for lit views.

The engine takes any renderer string that starts with "Mesa", "X.org",
"Gallium" or "llvmpipe" for a Mesa driver and then writes every shader as
GLSL ES 3.00 with "precision mediump float". llvmpipe runs mediump in 16-bit
floats, so dot(v, v) overflows for any vector longer than 256 units and the
light interactions come out 0 or NaN (black). Renaming the renderer through
Mesa's driconf option force_gl_renderer (read from the environment) makes the
engine write desktop GLSL 4.50 instead, which llvmpipe runs in 32-bit floats.
docs/notes/lit-view.md has the evidence.

Given here: the environment, the cvars, and stand-ins for the three light
materials a map without game data falls back to (soft-edged square lights,
as DOOM 3's own default light is); the engine runner writes those a package
does not define, lit or full-bright (a light material without its falloff
image crashes the first frame either way). Not done here: starting the
engine, the rest of the base folder, checking the pictures. Callers own the
files they write from light_files().
"""
import struct

# Must not start with any prefix the engine matches against (case-insensitive).
RENDERER_NAME = 'kit software renderer'
ENV = {'force_gl_renderer': RENDERER_NAME}

# Pass each as "+set NAME VALUE" on the command line: r_useHDR is read-only
# and a cfg file cannot change it.
CVARS = [
    ('r_useHDR', '0'),           # classic path; HDR works too but tone-maps the picture
    ('r_useLightGrid', '0'),     # converted maps bake no light grid
    ('r_forceAmbient', '0'),     # the map's lights only, as DOOM 3 shows them
    ('r_useSSAO', '0'),          # this and the next three only cost time on a CPU renderer
    ('r_antiAliasing', '0'),
    ('r_useFilmicPostProcessing', '0'),
    ('r_skipBloom', '1'),
    ('r_lightScale', '1'),       # _color is the brightness; the default 3 whitens where lights overlap
]

# lights/squarelight1 is what a light entity without "texture" uses; the
# renderer falls back to the other two when a material is missing.
LIGHT_MATERIALS = ('lights/squarelight1', 'lights/defaultPointLight',
                   'lights/defaultProjectedLight')
PROJECTION_IMAGE = 'textures/kit/lit_square.tga'
FALLOFF_IMAGE = 'textures/kit/lit_falloff.tga'
# 128 texels keep the engine's DXT5 compression from showing bands on walls.
IMAGE_SIZE = 128
SOFT_EDGE = 0.15   # share of each side over which the light fades out


def command_line_cvars():
    """The CVARS as engine arguments: ['+set', name, value, ...]."""
    return [arg for name, value in CVARS for arg in ('+set', name, value)]


def light_material_text(names=LIGHT_MATERIALS):
    """One .mtr text defining every name given (LIGHT_MATERIALS by default)."""
    body = ('{\n\tlightFalloffImage %s\n\t{\n\t\tmap %s\n\t\tcolored\n\t\tzeroClamp\n\t}\n}\n'
            % (FALLOFF_IMAGE, PROJECTION_IMAGE))
    return ''.join('%s\n%s' % (name, body) for name in names)


def _edge(t):
    """1 inside, easing to 0 at both ends of [0, 1]."""
    d = min(t, 1.0 - t) / SOFT_EDGE
    d = max(0.0, min(1.0, d))
    return d * d * (3.0 - 2.0 * d)


def _grey_tga(width, height, value):
    """Uncompressed 24-bit TGA, rows bottom-up; value(x, y) -> 0..1 at texel centres."""
    header = struct.pack('<BBBHHBHHHHBB', 0, 0, 2, 0, 0, 0, 0, 0, width, height, 24, 0)
    texels = bytearray()
    for y in range(height):
        for x in range(width):
            v = round(255 * value((x + 0.5) / width, (y + 0.5) / height))
            texels += bytes((v, v, v))
    return header + bytes(texels)


def projection_tga():
    return _grey_tga(IMAGE_SIZE, IMAGE_SIZE, lambda u, v: _edge(u) * _edge(v))


def falloff_tga():
    # four rows: a whole DXT block, sampled at its middle
    return _grey_tga(IMAGE_SIZE, 4, lambda u, v: _edge(u))


def light_files(names=LIGHT_MATERIALS):
    """{path under the base folder: bytes} for the named light materials and their images;
    nothing when no name is given."""
    if not names:
        return {}
    return {
        'materials/kit_lit_lights.mtr': light_material_text(names).encode('ascii'),
        PROJECTION_IMAGE: projection_tga(),
        FALLOFF_IMAGE: falloff_tga(),
    }
