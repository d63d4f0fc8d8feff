"""Small hand-written DOOM 3 maps in the classic brush form, for the teleport and exit constructions.

`teleport_and_exit()` is one sealed hall (DOOM 3 units) built as the converter builds
these specials: a walk-over trigger_multiple `trigger_tele` (anyTouch) across the hall
targets a func_teleporter `teleporter_dest` standing on the floor at DESTINATION with
its angle (triggered 1); a trigger_once `trigger_exit` across the far end targets a
target_endLevel `endlevel_next` whose nextMap is NEXT_MAP. `next_map()` is the small room
that level change loads. A switch panel `switch_panel` on the far wall shows material
SWITCH_MATERIAL (SWITCH_PACKAGE: one colour while its shader parm 7 is 0, another while it
is 1), as the converter's switch panels do; a target_setshaderparm `switch_on` sets parm 7
and fires a trigger_relay `switch_back` that, a second later, has `switch_off` set it back,
as a repeatable switch does. A pillar `pillar_without_model` lacks the "model" key the converter
writes, so the model check can be seen to catch it. Materials are the crafted level's
(crafted/WALL, ...) and the definitions package's trigger material. Boxes only: each brush
is an axis-aligned box.
"""

START = (96, 192, 0)
TELEPORT_TRIGGER_X = (300, 312)
DESTINATION = (800, 96, 0, 90)
EXIT_TRIGGER_Y = (250, 262)
NEXT_MAP = 'kit_next'
NO_MODEL = 'pillar_without_model'
SWITCH_FACE_X, SWITCH_Y, SWITCH_Z = 1016, (160, 224), (32, 96)   # the panel's face, facing -x
SWITCH_MATERIAL = 'kit/switch'
SWITCH_COLOURS = ((200, 40, 40), (40, 180, 60))                    # parm 7 at 0, at 1
HALL = (0, 0, 0, 1024, 384, 192)  # inside: x0 y0 z0 x1 y1 z1
WALL = 16


def box(x0, y0, z0, x1, y1, z1, material):
    """A classic-form box brush; each face's three points give its outward normal."""
    faces = [
        ((x0, 0, 0), (x0, 1, 0), (x0, 0, 1)),
        ((x1, 0, 0), (x1, 0, 1), (x1, 1, 0)),
        ((0, y0, 0), (0, y0, 1), (1, y0, 0)),
        ((0, y1, 0), (1, y1, 0), (0, y1, 1)),
        ((0, 0, z0), (1, 0, z0), (0, 1, z0)),
        ((0, 0, z1), (0, 1, z1), (1, 0, z1)),
    ]
    lines = ['( %g %g %g ) ( %g %g %g ) ( %g %g %g ) %s 0 0 0 1 1' % (a + b + c + (material,)) for a, b, c in faces]
    return '{\n' + '\n'.join(lines) + '\n}\n'


def _shell(x0, y0, z0, x1, y1, z1):
    """Six brushes sealing the inside box (x0..x1, y0..y1, z0..z1)."""
    w = WALL
    return ''.join([
        box(x0 - w, y0 - w, z0 - w, x1 + w, y1 + w, z0, 'crafted/flats/FLOOR'),
        box(x0 - w, y0 - w, z1, x1 + w, y1 + w, z1 + w, 'crafted/flats/CEIL'),
        box(x0 - w, y0 - w, z0, x0, y1 + w, z1, 'crafted/WALL'),
        box(x1, y0 - w, z0, x1 + w, y1 + w, z1, 'crafted/WALL'),
        box(x0, y0 - w, z0, x1, y0, z1, 'crafted/WALL'),
        box(x0, y1, z0, x1, y1 + w, z1, 'crafted/WALL'),
    ])


def _entity(keys, brushes=''):
    return '{\n' + ''.join('"%s" "%s"\n' % kv for kv in keys) + brushes + '}\n'


def teleport_and_exit():
    x0, y0, z0, x1, y1, z1 = HALL
    trigger = 'zdoom/trigger'
    return ''.join([
        _entity([('classname', 'worldspawn')], _shell(*HALL)),
        _entity([('classname', 'info_player_start'), ('name', 'start'), ('origin', '%d %d %d' % START),
                 ('angle', '0')]),
        _entity([('classname', 'light'), ('name', 'light_hall'), ('origin', '512 192 128'),
                 ('light_radius', '600 300 120')]),
        _entity([('classname', 'trigger_multiple'), ('name', 'trigger_tele'), ('model', 'trigger_tele'),
                 ('anyTouch', '1'), ('target', 'teleporter_dest')],
                box(TELEPORT_TRIGGER_X[0], y0, z0, TELEPORT_TRIGGER_X[1], y1, 128, trigger)),
        _entity([('classname', 'func_teleporter'), ('name', 'teleporter_dest'),
                 ('origin', '%d %d %d' % DESTINATION[:3]), ('angle', str(DESTINATION[3])), ('triggered', '1')]),
        _entity([('classname', 'trigger_once'), ('name', 'trigger_exit'), ('model', 'trigger_exit'),
                 ('target', 'endlevel_next')],
                box(640, EXIT_TRIGGER_Y[0], z0, x1, EXIT_TRIGGER_Y[1], 128, trigger)),
        _entity([('classname', 'target_endLevel'), ('name', 'endlevel_next'), ('origin', '960 350 32'),
                 ('nextMap', NEXT_MAP)]),
        _entity([('classname', 'func_static'), ('name', NO_MODEL)], box(480, 320, z0, 512, 352, 64, 'crafted/STEP')),
        _entity([('classname', 'func_static'), ('name', 'switch_panel'), ('model', 'switch_panel')],
                box(SWITCH_FACE_X, SWITCH_Y[0], SWITCH_Z[0], x1, SWITCH_Y[1], SWITCH_Z[1], SWITCH_MATERIAL)),
        _entity([('classname', 'target_setshaderparm'), ('name', 'switch_on'), ('origin', '1000 192 64'),
                 ('shaderParm7', '1'), ('target', 'switch_panel')]),
        _entity([('classname', 'trigger_relay'), ('name', 'switch_back'), ('origin', '1000 192 72'),
                 ('delay', '1'), ('target', 'switch_off')]),
        _entity([('classname', 'target_setshaderparm'), ('name', 'switch_off'), ('origin', '1000 192 80'),
                 ('shaderParm7', '0'), ('target', 'switch_panel')]),
    ])


def switch_package():
    """A .pk4 (bytes) with SWITCH_MATERIAL: two stages of one colour each, chosen by parm 7."""
    import crafted
    import io
    import zipfile
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, 'w') as z:
        stages = ''
        for parm, colour in enumerate(SWITCH_COLOURS):
            z.writestr('textures/kit/switch%d.tga' % parm, crafted.tga(colour))
            stages += ('\t{\n\t\tif parm7 == %d\n\t\tblend diffusemap\n\t\tmap textures/kit/switch%d.tga\n\t}\n'
                       % (parm, parm))
        z.writestr('materials/kit_switch.mtr', 'textures/%s\n{\n%s}\n' % (SWITCH_MATERIAL, stages))
    return buffer.getvalue()


def next_map():
    room = (0, 0, 0, 256, 256, 128)
    return (_entity([('classname', 'worldspawn')], _shell(*room)) +
            _entity([('classname', 'info_player_start'), ('origin', '128 128 0'), ('angle', '0')]))
