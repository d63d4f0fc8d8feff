"""One start of the DOOM 3 BFG engine, headless: compile maps, load one, run console commands.

A Scenario names the maps (classic or Valve 220 brush text; classic brushes are rewritten
in DOOM 3's own brushDef3 form with the plane and texture matrix the original DOOM 3 gives
a classic face, since this engine does not read the classic form), the packages (unpacked: this engine build reads no
.pk4), the map to load and the console commands to run once the player exists. run()
builds a fresh temporary folder with the compiler's generated base, the stand-in game
data and, when asked, full-bright materials and unfiltered textures; starts the engine once under a time limit
with the environment and cvars that work without a GPU; and returns a Result with the
console output parsed (consolelog) and the screenshots copied out. Compiled maps can be kept
in a folder and reused when the map text is unchanged. The engine's exit code means
nothing (it exits 0 after a crash), so the log alone is judged, by the caller; run()
raises EngineError only when the engine cannot run at all or exceeds its time limit, and
InputError for a package that is not a zip file.
Only the process group it started is ever signalled.
"""
import hashlib
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'dmap'))
import engine_base  # noqa: E402
import mapfile  # noqa: E402

import consolelog  # noqa: E402
import fullbright  # noqa: E402
import lit_setup  # noqa: E402
import nearest  # noqa: E402
import standins  # noqa: E402

ENGINE = os.environ.get('D3_ENGINE', '/usr/games/rbdoom3bfg')

# Settings that make pictures on Mesa's software renderer: no HDR (black pictures), no
# light grid (its shader does not compile), none of the slow post-processing; no autosave
# (saving the player's missing weapon crashes); the triggers' activations in the log.
RENDER_CVARS = [('r_useHDR', '0'), ('r_useLightGrid', '0'), ('r_forceAmbient', '0'), ('r_useSSAO', '0'),
                ('r_antiAliasing', '0'), ('r_useFilmicPostProcessing', '0'), ('r_skipBloom', '1'),
                ('r_swapInterval', '0'), ('com_disableAutoSaves', '1')]
SCENARIO_CFG = 'kit_scenario.cfg'
DONE_MARK = 'kit: done'
START_FRAMES = 5  # frames between the load and the first command: the player spawns in them


class EngineError(Exception):
    """The engine could not be started or did not finish in time; one line."""


class InputError(Exception):
    """A package or map the engine cannot be given; one line."""


class Scenario:
    def __init__(self, maps, load, commands, packages=(), full_bright=True, size=(640, 480), timeout=300,
                 compiled_dir=None, noflood=False, script='', cvars=(), nearest_texels=False):
        self.maps = dict(maps)        # name -> .map text
        self.load = load              # the map to load after compiling, or None
        self.commands = list(commands)
        self.packages = list(packages)
        self.full_bright = full_bright  # False: lit by the map's lights (lit_setup's recipe)
        self.size = size
        self.timeout = timeout
        self.compiled_dir = compiled_dir  # keeps compiled maps; reuses those whose text is unchanged
        self.noflood = noflood
        self.script = script          # script functions the commands may call (`script NAME()`)
        self.cvars = list(cvars)      # (name, value) set on the command line after the runner's own
        self.nearest_texels = nearest_texels  # textures unfiltered, as DOOM draws them (nearest.py)


class Result:
    def __init__(self, log, shots, seconds, compiled):
        self.log = log
        self.shots = shots        # screenshot name -> PNG path (in the output folder)
        self.seconds = seconds    # wall time of the engine start
        self.compiled = compiled  # names compiled in this start (the others were reused)
        self.console = consolelog.ConsoleLog(log)


def _digest(text):
    return hashlib.sha1(text.encode('latin-1')).hexdigest()


def _prepare(root, scenario):
    """Writes the base folder; returns the names that must be compiled."""
    base = os.path.join(root, 'base')
    defined = set()
    for pk4 in scenario.packages:
        defined |= engine_base.package_materials(pk4)
        engine_base.unpack(pk4, base)
    maps_dir = os.path.join(base, 'maps')
    os.makedirs(maps_dir, exist_ok=True)
    used = set()
    to_compile = []
    for name, text in scenario.maps.items():
        native, _ = mapfile.to_brushdef3(text)
        used |= mapfile.materials_used(text)
        with open(os.path.join(maps_dir, name + '.map'), 'w', encoding='latin-1') as f:
            f.write(native)
        if not _reuse(scenario.compiled_dir, name, native, maps_dir):
            to_compile.append(name)
    engine_base.write_base(base, defined, used - defined)
    standins.write_game(base, scenario.script, defined)
    if scenario.full_bright:
        _rewrite_materials(base, fullbright.convert)
    if scenario.nearest_texels:
        _rewrite_materials(base, nearest.convert)
    commands = ['wait %d' % START_FRAMES, 'g_debugTriggers 1'] + scenario.commands + ['echo ' + DONE_MARK, 'quit']
    with open(os.path.join(base, SCENARIO_CFG), 'w') as f:
        f.write('\n'.join(commands) + '\n')
    return to_compile


def _reuse(folder, name, valve, maps_dir):
    if not folder:
        return False
    stamp = os.path.join(folder, name + '.sha1')
    files = [os.path.join(folder, name + ext) for ext in ('.proc', '.cm')]
    if not os.path.exists(stamp) or not all(os.path.exists(f) for f in files):
        return False
    with open(stamp) as f:
        if f.read().strip() != _digest(valve):
            return False
    for f in files:
        shutil.copyfile(f, os.path.join(maps_dir, os.path.basename(f)))
    return True


def _keep_compiled(folder, names, maps_dir):
    os.makedirs(folder, exist_ok=True)
    for name in names:
        files = [os.path.join(maps_dir, name + ext) for ext in ('.proc', '.cm')]
        if not all(os.path.exists(f) for f in files):
            continue
        for f in files:
            shutil.copyfile(f, os.path.join(folder, os.path.basename(f)))
        with open(os.path.join(maps_dir, name + '.map'), encoding='latin-1') as f:
            digest = _digest(f.read())
        with open(os.path.join(folder, name + '.sha1'), 'w') as f:
            f.write(digest + '\n')


def _rewrite_materials(base, convert):
    """Every material file of the base folder through convert(text) -> text."""
    for folder, _, files in os.walk(os.path.join(base, 'materials')):
        for name in files:
            if name.lower().endswith('.mtr'):
                path = os.path.join(folder, name)
                with open(path, encoding='latin-1') as f:
                    text = f.read()
                with open(path, 'w', encoding='latin-1') as f:
                    f.write(convert(text))


def render_cvars(scenario):
    """The runner's settings, with lit_setup's for a lit scenario (each name once)."""
    if scenario.full_bright:
        return list(RENDER_CVARS)
    names = {name for name, _ in RENDER_CVARS}
    return RENDER_CVARS + [(name, value) for name, value in lit_setup.CVARS if name not in names]


def environment(root, scenario):
    """The engine's environment: its own home, no sound, SDL's offscreen video; for lit
    pictures the renderer name that keeps the engine's shaders at full precision."""
    env = dict(os.environ, HOME=os.path.join(root, 'home'), ALSOFT_DRIVERS='null',
               SDL_VIDEODRIVER='offscreen', SDL_AUDIODRIVER='dummy')
    if not scenario.full_bright:
        env.update(lit_setup.ENV)
    return env


def command_line(root, scenario, to_compile):
    cmd = [ENGINE, '+set', 'fs_basepath', root, '+set', 'fs_savepath', os.path.join(root, 'save'),
           '+set', 'fs_game', 'base', '+set', 'logfile', '2', '+set', 'com_skipIntroVideos', '1',
           '+set', 'r_fullscreen', '0', '+set', 'r_windowWidth', str(scenario.size[0]),
           '+set', 'r_windowHeight', str(scenario.size[1])]
    for name, value in render_cvars(scenario) + scenario.cvars:
        cmd += ['+set', name, value]
    for name in to_compile:
        # noOpt: the triangle optimisation costs minutes on a real level and changes no brush
        cmd += ['+dmap', 'noAAS', 'noOpt'] + (['noflood'] if scenario.noflood else []) + [name]
    if scenario.load:
        cmd += ['+map', scenario.load, '+exec', SCENARIO_CFG]
    else:
        cmd += ['+quit']
    return cmd


def _start(cmd, root, timeout, env):
    """Runs the engine in its own process group; returns its wall time. Raises EngineError."""
    os.makedirs(env['HOME'], exist_ok=True)
    began = time.time()
    with open(os.path.join(root, 'engine.out'), 'wb') as out:
        try:
            p = subprocess.Popen(cmd, stdout=out, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, env=env,
                                 cwd=root, start_new_session=True)
        except OSError as e:
            raise EngineError('cannot run %s: %s' % (cmd[0], e.strerror))
        try:
            p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(p.pid, signal.SIGTERM)
            try:
                p.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(p.pid, signal.SIGKILL)
                p.wait()
            raise EngineError('the engine did not finish within %d s' % timeout)
    return time.time() - began


def _read_log(root):
    """The engine's standard output: the log file misses what the game prints during frames."""
    path = os.path.join(root, 'engine.out')
    if not os.path.exists(path):
        return ''
    with open(path, encoding='latin-1') as f:
        return f.read().replace('\r', '')


def _collect_shots(root, out_dir, console):
    """The screenshots the log says were written: name -> PNG path (copied to out_dir if given)."""
    shots = {}
    for name in console.screenshots:
        found = os.path.join(root, 'base', name + '.png')
        if not os.path.exists(found):
            continue
        if out_dir:
            os.makedirs(out_dir, exist_ok=True)
            target = os.path.join(out_dir, os.path.basename(name) + '.png')
            shutil.copyfile(found, target + '.tmp')
            os.replace(target + '.tmp', target)
            found = target
        shots[os.path.basename(name)] = found
    return shots


def run(scenario, out_dir=None, keep=False):
    """Runs the scenario in one engine start; returns a Result. Raises EngineError, InputError, OSError."""
    if not os.access(ENGINE, os.X_OK):
        raise EngineError('the DOOM 3 engine %s is not installed' % ENGINE)
    root = tempfile.mkdtemp(prefix='d3engine.')
    try:
        to_compile = _prepare(root, scenario)
        seconds = _start(command_line(root, scenario, to_compile), root, scenario.timeout,
                         environment(root, scenario))
        result = Result(_read_log(root), {}, seconds, to_compile)
        result.shots = _collect_shots(root, out_dir, result.console)
        if out_dir:
            log = os.path.join(out_dir, 'd3engine.log')
            with open(log + '.tmp', 'w', encoding='latin-1') as f:
                f.write(result.log)
            os.replace(log + '.tmp', log)
        if scenario.compiled_dir:
            _keep_compiled(scenario.compiled_dir, to_compile, os.path.join(root, 'base', 'maps'))
        return result
    except zipfile.BadZipFile as e:
        raise InputError('a package is not a zip file: %s' % e)
    finally:
        if keep:
            print('kept: ' + root)
        else:
            shutil.rmtree(root, ignore_errors=True)
