"""Unit tests of the engine runner's parts that need no engine: the stand-in definitions, the
full-bright rewrite, the console readers, the crafted level writer, the PNG reader, the
brush corners and d3view's views."""
import math
import os
import re
import struct
import sys
import tempfile
import unittest
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import consolelog  # noqa: E402
import crafted  # noqa: E402
import d3view  # noqa: E402
import enginerun  # noqa: E402
import fullbright  # noqa: E402
import handmaps  # noqa: E402
import pngread  # noqa: E402
import rectlevel  # noqa: E402
import runtime  # noqa: E402
import standins  # noqa: E402


def parse_entity_defs(text):
    """name -> keys of every entityDef, by a reader independent of the generator."""
    defs = {}
    for name, body in re.findall(r'entityDef\s+(\S+)\s*\{([^}]*)\}', text):
        defs[name] = dict(re.findall(r'"([^"]*)"\s+"([^"]*)"', body))
    return defs


class StandInsTest(unittest.TestCase):
    def setUp(self):
        self.defs = parse_entity_defs(standins.game_defs())

    def test_every_class_a_converted_map_uses_has_its_spawnclass(self):
        wanted = {
            'worldspawn': 'idWorldspawn', 'light': 'idLight', 'func_static': 'idStaticEntity', 'func_door': 'idDoor',
            'func_plat': 'idPlat', 'func_riser': 'idRiser', 'func_mover': 'idMover', 'func_elevator': 'idElevator',
            'func_teleporter': 'idTeleporter', 'trigger_once': 'idTrigger_Multi',
            'trigger_multiple': 'idTrigger_Multi', 'trigger_relay': 'idTrigger_Multi', 'trigger_hurt': 'idTrigger_Hurt',
            'trigger_timer': 'idTrigger_Timer', 'trigger_count': 'idTrigger_Count',
            'target_endLevel': 'idTarget_EndLevel', 'target_setkeyval': 'idTarget_SetKeyVal',
            'target_setshaderparm': 'idTarget_SetShaderParm', 'target_tip': 'idTarget_Tip', 'target_null': 'idTarget',
            'func_itemremove': 'idItemRemover', 'func_damagable': 'idDamagable',
            'func_waitforbutton': 'idTarget_WaitForButton', 'info_player_start': 'idPlayerStart',
            'info_player_teleport': 'idPlayerStart', 'info_player_deathmatch': 'idPlayerStart',
            'path_corner': 'idPathCorner', 'player_doommarine': 'idPlayer'}
        for name, spawnclass in wanted.items():
            self.assertEqual(self.defs.get(name, {}).get('spawnclass'), spawnclass, name)

    def test_retail_style_trigger_defaults(self):
        self.assertEqual(self.defs['trigger_once']['wait'], '-1')
        self.assertEqual(self.defs['trigger_relay']['noTouch'], '1')
        self.assertEqual(self.defs['trigger_relay']['wait'], '0')
        self.assertNotIn('wait', self.defs['trigger_multiple'])

    def test_damage_definitions_the_game_asks_for_push_nobody(self):
        for name in ('damage_moverCrush', 'damage_painTrigger', 'damage_telefrag', 'damage_fatalfall'):
            self.assertEqual(self.defs[name]['knockback'], '0', name)

    def test_player_has_no_weapon_in_hand_and_a_flashlight_slot(self):
        player = self.defs['player_doommarine']
        self.assertEqual(player['current_weapon'], '-1')
        self.assertEqual(player['def_weapon0'], 'weapon_flashlight')
        self.assertEqual(self.defs['weapon_flashlight_new']['weapon_scriptobject'], 'weapon_kit')

    def test_script_declares_the_linked_fields_and_balances(self):
        script = standins.main_script(standins.report_bounds('kit_report', ['door_1', 'lift_4']))
        for field in ('AI_FORWARD', 'AI_TELEPORT', 'WEAPON_LOWERWEAPON'):
            self.assertIn(field, script)
        self.assertEqual(script.count('{'), script.count('}'))
        self.assertIn('kit_bounds("lift_4");', script)
        self.assertIn('void kit_walk(float vx, float vy, float frames)', script)

    def test_light_stand_ins_only_where_no_package_defines_the_material(self):
        with tempfile.TemporaryDirectory() as base:
            standins.write_game(base, defined={'lights/squarelight1', 'lights/zdoom_sector'})
            with open(os.path.join(base, 'materials', 'kit_lit_lights.mtr')) as f:
                mtr = f.read()
            self.assertIn('lights/defaultPointLight\n{', mtr)
            self.assertNotIn('squarelight1', mtr)
            with open(os.path.join(base, 'textures', 'kit', 'lit_falloff.tga'), 'rb') as f:
                self.assertEqual(struct.unpack('<HH', f.read()[12:16]), (128, 4))
        with tempfile.TemporaryDirectory() as base:
            standins.write_game(base, defined=set(standins.lit_setup.LIGHT_MATERIALS))
            self.assertFalse(os.path.exists(os.path.join(base, 'materials', 'kit_lit_lights.mtr')))


class FullBrightTest(unittest.TestCase):
    def test_lit_stage_keeps_its_image_and_options(self):
        out = fullbright.convert('textures/a/B\n{\n\tqer_editorimage x.tga\n\t{\n\t\tblend diffusemap\n'
                                 '\t\tmap textures/a/B.tga\n\t\talphaTest 0.5\n\t\tscale 0.5, 1\n\t}\n}\n')
        self.assertNotIn('diffusemap', out)
        for kept in ('map textures/a/B.tga', 'alphaTest 0.5', 'scale 0.5, 1', 'qer_editorimage x.tga'):
            self.assertIn(kept, out)

    def test_lighting_stages_and_shorthands_are_dropped(self):
        out = fullbright.convert('m\n{\n{ blend bumpmap\nmap b.tga }\n{\nblend specularmap\nmap s.tga\n}\n'
                                 'diffusemap d.tga\nbumpmap b2.tga\nspecularmap s2.tga\n}\n')
        self.assertNotIn('b.tga', out)
        self.assertNotIn('s.tga', out)
        self.assertNotIn('b2.tga', out)
        self.assertNotIn('s2.tga', out)
        self.assertRegex(out, r'\{\s*map d\.tga\s*\}')
        self.assertEqual(out.count('{'), out.count('}'))

    def test_unlit_parts_stay_as_they_were(self):
        sky = 'sky\n{\nforceOpaque\nnoShadows\n{\ncameraCubeMap env/sky1\ntexgen skybox\n}\n}\n'
        out = fullbright.convert('// hidden faces\nhidden\n{\nsolid\n}\n' + sky)
        for kept in ('solid', 'forceOpaque', 'cameraCubeMap env/sky1', 'texgen skybox'):
            self.assertIn(kept, out)
        self.assertNotIn('hidden faces', out)

    def test_the_crafted_package_materials_become_plain_stages(self):
        import io
        import zipfile
        with zipfile.ZipFile(io.BytesIO(crafted.texture_package(crafted.level()))) as z:
            out = fullbright.convert(z.read('materials/crafted.mtr').decode())
        self.assertIn('map textures/crafted/DOOR.tga', out)
        self.assertNotIn('blend', out)
        self.assertNotIn('_flat', out)


LOG = '''  1295 msec to load MAP01
godmode ON
(99 192 68.25) 0.0
(-303.5 1e-05 -71.5) 270.0
 Num  EntityDef            Class                Name
--------------------------------------------------------------------
   0: player_doommarine    idPlayer             player1
  18: func_door            idDoor               door_1
4094: worldspawn           idWorldspawn         noname0
...3 entities
...30992 bytes of spawnargs
   0:   7 intr  1 refs _area0
   3: FREED
   6:   7 intr  1 refs door_1
   7:   0 intr  0 refs trigger_9
total active: 8
kit: door
113: 'door_1' activated by 'player1'
kit_bounds door_1 mins 384 0 -0 maxs 432 384 186 origin 0 0 186
kit_bounds gone none
Wrote kit/open
kit: exit
--------- Execute Map Change ---------
Map: MAP02
ERROR: something broke
  812 msec to load MAP02
'''


class NativeFormTest(unittest.TestCase):
    MAP = ('{\n"classname" "worldspawn"\n{\n'
           '( 0 0 0 ) ( 0 1 0 ) ( 0 0 1 ) doom2/WALL/k1_5w0_0 0 0 0 1 1\n'
           '( 0 0 64 ) ( 1 0 64 ) ( 0 1 64 ) flats/FLOOR 0 0 0 1 1\n}\n}\n'
           '{\n"classname" "func_door"\n"name" "door_1"\n{\n'
           '( 8 0 0 ) ( 8 0 1 ) ( 8 1 0 ) doom2/DOOR/k1_5w0_0 0 0 0 1 1\n}\n}\n')

    def test_classic_brushes_become_brushdef3_with_doom3s_own_plane_and_matrix(self):
        text, count = enginerun.mapfile.to_brushdef3(self.MAP)
        self.assertEqual(count, 3)
        lines = text.split('\n')
        self.assertEqual(lines.count('brushDef3'), 2)
        # The plane through the three points, as DOOM 3's idPlane::FromPoints orients it.
        self.assertIn('( -1 0 0 0 ) ( ( 0.03125 0 0 ) ( 0 0.03125 0 ) ) doom2/WALL/k1_5w0_0 0 0 0', lines)
        self.assertIn('( 0 0 -1 64 ) ( ( 0.03125 0 0 ) ( 0 0.03125 0 ) ) flats/FLOOR 0 0 0', lines)
        self.assertIn('( 1 0 0 -8 ) ( ( 0.03125 0 0 ) ( 0 0.03125 0 ) ) doom2/DOOR/k1_5w0_0 0 0 0', lines)
        # Entities and their keys are untouched; every brace is balanced.
        self.assertIn('"name" "door_1"', lines)
        self.assertEqual(text.count('{'), text.count('}'))
        self.assertEqual(text.count('{'), 6)


class ConsoleLogTest(unittest.TestCase):
    def test_getviewpos_answers(self):
        seen = consolelog.views(LOG)
        self.assertEqual([(v.x, v.y, v.z, v.yaw) for v in seen], [(99, 192, 68.25, 0), (-303.5, 1e-05, -71.5, 270)])

    def test_entity_and_render_entity_tables(self):
        self.assertEqual(consolelog.entities(LOG), [(0, 'player_doommarine', 'idPlayer', 'player1'),
                                                    (18, 'func_door', 'idDoor', 'door_1'),
                                                    (4094, 'worldspawn', 'idWorldspawn', 'noname0')])
        self.assertEqual(consolelog.render_models(LOG), ['_area0', 'door_1', 'trigger_9'])

    def test_activations_bounds_and_pictures(self):
        self.assertEqual(consolelog.activations(LOG), [(113, 'door_1', 'player1')])
        found = consolelog.bounds(LOG)
        self.assertIsNone(found['gone'])
        self.assertEqual(found['door_1'].size(), (48, 384, 186))
        self.assertEqual(found['door_1'].origin, (0, 0, 186))
        self.assertEqual(consolelog.screenshots(LOG), ['kit/open'])

    def test_sections_maps_and_faults(self):
        parts = consolelog.sections(LOG)
        self.assertEqual(sorted(parts), ['door', 'exit'])
        self.assertEqual(consolelog.activations(parts['exit']), [])
        self.assertEqual(consolelog.maps_started(parts['exit']), ['MAP02'])
        self.assertEqual(consolelog.maps_loaded(LOG), ['MAP01', 'MAP02'])
        self.assertEqual(consolelog.faults(LOG), ['ERROR: something broke'])

    def test_no_table_gives_nothing(self):
        self.assertEqual(consolelog.entities('godmode ON\n'), [])
        self.assertEqual(consolelog.render_models('godmode ON\n'), [])


def _lumps(wad):
    count, offset = struct.unpack('<II', wad[4:12])
    out = {}
    for i in range(count):
        pos, size, name = struct.unpack('<II8s', wad[offset + 16 * i:offset + 16 * i + 16])
        out[name.rstrip(b'\0').decode()] = wad[pos:pos + size]
    return out


class RectLevelTest(unittest.TestCase):
    def test_shared_edges_become_one_two_sided_line(self):
        lv = rectlevel.RectLevel()
        lv.add(rectlevel.Rect(0, 0, 128, 128))
        lv.add(rectlevel.Rect(128, 0, 256, 128))
        lines = lv.lines()
        self.assertEqual(len(lines), 7)
        self.assertEqual([line for line in lines if line[3] >= 0], [((128, 128), (128, 0), 0, 1, 0, 0)])

    def test_an_edge_is_cut_where_a_smaller_neighbour_ends(self):
        lv = rectlevel.RectLevel()
        lv.add(rectlevel.Rect(0, 0, 128, 256))
        lv.add(rectlevel.Rect(128, 64, 192, 128))
        shared = [line for line in lv.lines() if line[3] >= 0]
        self.assertEqual(len(shared), 1)
        self.assertEqual(sorted(shared[0][:2]), [(128, 64), (128, 128)])

    def test_the_crafted_doors_face_away_from_their_sector(self):
        for p, q, front, back, special, tag in crafted.level().lines():
            if special in (1, 26):
                self.assertEqual(back, crafted.DOOR_SECTOR if special == 1 else crafted.KEY_DOOR_SECTOR)
                # DOOM's front is right of v1 -> v2: the front sector lies there
                self.assertNotEqual(front, crafted.DOOR_SECTOR)

    def test_the_wad_holds_the_level_lumps_without_nodes(self):
        lumps = _lumps(crafted.level().wad())
        self.assertEqual(sorted(lumps), ['LINEDEFS', 'MAP01', 'SECTORS', 'SIDEDEFS', 'THINGS', 'VERTEXES'])
        self.assertEqual(len(lumps['SECTORS']) // 26, 15)
        self.assertEqual(len(lumps['THINGS']) // 10, 3)
        lines = [struct.unpack('<HHHHHHH', lumps['LINEDEFS'][i:i + 14]) for i in range(0, len(lumps['LINEDEFS']), 14)]
        sides = len(lumps['SIDEDEFS']) // 30
        self.assertTrue(all(ln[5] < sides and (ln[6] == 0xFFFF or ln[6] < sides) for ln in lines))
        self.assertEqual(sorted(ln[3] for ln in lines if ln[3]), [1, 1, 26, 26, 38, 52, 88, 97])

    def test_the_texture_list_names_every_texture(self):
        lv = crafted.level()
        listed = crafted.texture_list(lv)
        for name in ('DOOR', 'LIFT', 'WALL', 'STEP'):
            self.assertIn('texture %s 64 64 crafted/%s' % (name, name), listed)
        self.assertIn('flat FLOOR 64 64 crafted/flats/FLOOR', listed)


def _png(rows, filters):
    """An RGB PNG whose rows use the given filter types (encoded here, decoded by pngread)."""
    raw, previous = b'', bytes(len(rows[0]) * 3)
    for row, kind in zip(rows, filters):
        line = bytes(c for p in row for c in p)
        out = bytearray()
        for i, v in enumerate(line):
            left = line[i - 3] if i >= 3 else 0
            up, corner = previous[i], previous[i - 3] if i >= 3 else 0
            base = [0, left, up, (left + up) // 2, pngread._paeth(left, up, corner)][kind]
            out.append((v - base) & 255)
        raw += bytes([kind]) + bytes(out)
        previous = line

    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    header = struct.pack('>IIBBBBB', len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b'')


class PngReadTest(unittest.TestCase):
    def test_every_row_filter_decodes(self):
        rows = [[(x * 40 % 256, y * 60, (x * y * 7) % 256) for x in range(6)] for y in range(5)]
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, 'rows.png')
            with open(path, 'wb') as f:
                f.write(_png(rows, [0, 1, 2, 3, 4]))
            picture = pngread.read(path)
        self.assertEqual(picture.rows, rows)
        self.assertEqual(picture.share_near((0, 0, 0), tolerance=0), 1 / 30)

    def test_not_a_png(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, 'not.png')
            with open(path, 'wb') as f:
                f.write(b'GIF89a')
            with self.assertRaises(pngread.PngError):
                pngread.read(path)


class BrushCornersTest(unittest.TestCase):
    def test_a_box_brush_spans_its_box(self):
        text = '{\n"classname" "func_door"\n"name" "door_9"\n%s}\n' % handmaps.box(-8, 16, 0, 40, 64.5, 96, 'm')
        (door,) = runtime.brush_entities(text)
        self.assertEqual((door.name, door.mins, door.maxs), ('door_9', (-8, 16, 0), (40, 64.5, 96)))

    def test_a_round_brush_far_out_spans_its_corners_only(self):
        # 24 sides round (-6000, -6000): neighbouring faces but one meet a few units outside it.
        cx, cy, r, lo, hi = -6000.0, -6000.0, 80.0, -400.0, 280.0
        ring = [(cx + r * math.cos(-math.pi * i / 12), cy + r * math.sin(-math.pi * i / 12)) for i in range(24)]
        point = '( %r %r %r )'
        faces = [' '.join((point % (x, y, lo), point % (ring[(i + 1) % 24] + (lo,)), point % (x, y, hi), 'm 0 0 0 1 1'))
                 for i, (x, y) in enumerate(ring)]
        faces += ['( 0 0 %r ) ( 0 1 %r ) ( 1 0 %r ) m 0 0 0 1 1' % (hi, hi, hi),
                  '( 0 0 %r ) ( 1 0 %r ) ( 0 1 %r ) m 0 0 0 1 1' % (lo, lo, lo)]
        text = '{\n"classname" "func_door"\n"name" "door_1"\n{\n%s\n}\n}\n' % '\n'.join(faces)
        (door,) = runtime.brush_entities(text)
        for axis, values in ((0, [x for x, _ in ring]), (1, [y for _, y in ring])):
            self.assertAlmostEqual(door.mins[axis], min(values), delta=0.01)
            self.assertAlmostEqual(door.maxs[axis], max(values), delta=0.01)
        self.assertEqual((door.mins[2], door.maxs[2]), (lo, hi))

    def test_the_world_is_not_a_brush_entity(self):
        self.assertEqual(runtime.brush_entities(handmaps.next_map()), [])


class CompiledReuseTest(unittest.TestCase):
    def test_a_compiled_map_is_reused_only_for_the_same_text(self):
        with tempfile.TemporaryDirectory() as tmp:
            maps, kept, fresh = (os.path.join(tmp, n) for n in ('maps', 'kept', 'fresh'))
            for folder in (maps, fresh):
                os.makedirs(folder)
            for name, data in (('m.map', 'text'), ('m.proc', 'proc'), ('m.cm', 'cm')):
                with open(os.path.join(maps, name), 'w') as f:
                    f.write(data)
            enginerun._keep_compiled(kept, ['m'], maps)
            self.assertTrue(enginerun._reuse(kept, 'm', 'text', fresh))
            self.assertTrue(os.path.exists(os.path.join(fresh, 'm.proc')))
            self.assertFalse(enginerun._reuse(kept, 'm', 'changed text', fresh))
            self.assertFalse(enginerun._reuse(kept, 'other', 'text', fresh))
            self.assertFalse(enginerun._reuse(None, 'm', 'text', fresh))


class D3ViewTest(unittest.TestCase):
    def test_views_and_commands(self):
        commands, names = d3view.view_commands(['MAP01-start=-288 -240 61.5 0', '+trigger door_27', '1 2 3 90',
                                                '4 5 6 180'])
        self.assertEqual(names, ['MAP01-start', 'view_01', 'view_02'])
        self.assertEqual(commands[:4], ['setviewpos -288 -240 61.5 0', 'wait 3', 'screenshot d3view/shot_01',
                                        'trigger door_27'])
        self.assertEqual(commands[-1], 'screenshot d3view/shot_03')

    def test_bad_views(self):
        for views in (['1 2 3'], ['a=1 2 3 x'], ['+wait 5'], ['a=1 2 3 4', 'a=5 6 7 8'], ['shot_02=1 2 3 4']):
            with self.assertRaises(d3view.UsageError):
                d3view.view_commands(views)
        for bad in (['--size', '10x10'], ['--set', 'g_fov;quit', '90'], ['--set', 'g_fov', '1 2']):
            with self.assertRaises(d3view.UsageError):
                d3view.parse_args(['out', 'm.map'] + bad + ['--', '1 2 3 4'])
        args = d3view.parse_args(['out', 'm.map', '--set', 'g_fov', '106', '--', '1 2 3 4'])
        self.assertEqual((args.set, args.size, args.lit, args.smooth), ([['g_fov', '106']], (1280, 800), False, False))


if __name__ == '__main__':
    unittest.main()
