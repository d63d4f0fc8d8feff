"""Unit tests of what the engine's pictures are made with, without the engine: unfiltered
textures, the field of view, d3view's lighting options and the lit run's environment."""
import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import d3view  # noqa: E402
import enginerun  # noqa: E402
import lit_setup  # noqa: E402
import nearest  # noqa: E402


class NearestTest(unittest.TestCase):
    def test_every_stage_of_a_texture_material_samples_the_nearest_texel(self):
        text = ('textures/doom2/STARTAN3 // a wall\n{\n\tqer_editorimage x.tga\n\t{\n\t\tblend diffusemap\n'
                '\t\tmap textures/doom2/STARTAN3.tga\n\t}\n\t{ blend add map glow.tga }\n}\n')
        out = nearest.convert(text)
        self.assertEqual(out.count('nearest'), 2)
        self.assertIn('\t{\n\t\tnearest\n\t\tblend diffusemap\n\t\tmap textures/doom2/STARTAN3.tga\n\t}', out)
        self.assertNotIn('a wall', out)

    def test_shorthands_become_stages_and_lights_tables_stay_smooth(self):
        out = nearest.convert('textures/a\n{\n\tdiffusemap a.tga\n\tbumpmap _flat\n}\n'
                              'lights/zdoom_sector\n{\n\tlightFalloffImage f.tga\n\t{\n\t\tmap s.tga\n\t}\n}\n'
                              'table zdoom_glow { { 0, 1 } }\n')
        self.assertIn('\t{\n\t\tblend diffusemap\n\t\tmap a.tga\n\t\tnearest\n\t}', out)
        self.assertIn('\t{\n\t\tblend bumpmap\n\t\tmap _flat\n\t\tnearest\n\t}', out)
        self.assertEqual(out.count('nearest'), 2)
        self.assertIn('table zdoom_glow\n{\n\t{\n\t\t0, 1\n\t}\n}', out)

    def test_which_declarations_are_sharpened(self):
        self.assertTrue(nearest.sharpened('textures/doom2/STARTAN3'))
        self.assertTrue(nearest.sharpened('material textures/sky'))
        for declaration in ('lights/squarelight1', 'fogs/basic', 'table zdoom_fire', 'skin s', ''):
            self.assertFalse(nearest.sharpened(declaration), declaration)


class FieldOfViewTest(unittest.TestCase):
    def test_g_fov_in_whole_degrees_for_a_picture_of_the_given_width(self):
        self.assertEqual(d3view.engine_fov(90, (1280, 800)), 96)
        self.assertEqual(d3view.engine_fov(90, (640, 480)), 106)
        self.assertEqual(d3view.engine_fov(90, (1920, 1080)), 90)
        self.assertEqual(d3view.engine_fov(75, (512, 512)), 75)

    def test_fov_and_lighting_options(self):
        args = d3view.parse_args(['out', 'm.map', '--lit', '--smooth', '--fov', '70', '--size', '800x600', '--',
                                  '1 2 3 4'])
        self.assertEqual((args.lit, args.smooth, args.fov, args.size), (True, True, 70, (800, 600)))
        for bad in (['--fov', '0'], ['--fov', '180'], ['--fov', 'wide']):
            with self.assertRaises(d3view.UsageError):
                d3view.parse_args(['out', 'm.map'] + bad + ['--', '1 2 3 4'])


class LitRunTest(unittest.TestCase):
    def scenario(self, full_bright):
        return enginerun.Scenario({}, None, [], full_bright=full_bright)

    def test_a_lit_run_gets_the_renderer_name_and_the_light_scale(self):
        lit, flat = self.scenario(False), self.scenario(True)
        self.assertEqual(enginerun.environment('/r', lit)['force_gl_renderer'], lit_setup.RENDERER_NAME)
        self.assertNotIn('force_gl_renderer', enginerun.environment('/r', flat))
        self.assertIn(('r_lightScale', '1'), enginerun.render_cvars(lit))
        self.assertNotIn(('r_lightScale', '1'), enginerun.render_cvars(flat))
        names = [name for name, _ in enginerun.render_cvars(lit)]
        self.assertEqual(len(names), len(set(names)))


if __name__ == '__main__':
    unittest.main()
