"""The stand-in game data that lets the DOOM 3 BFG engine play a converted map without DOOM 3's files.

Generated here, never copied: an entityDef with a `spawnclass` for every stock class a
converted map uses (with the retail-style defaults the game relies on: trigger_once fires
once, trigger_relay is untouchable), the damage definitions the game code asks for, the
player (a four-joint mesh, no weapon in hand, a flashlight slot so the weapon code finds
an end), and the two script objects whose fields the C++ links to plus the few script events
the runner's helpers call (the light materials come from lit_setup). The compiler's part
of the base (config, font, `_default`) comes from the compile check's engine_base; this
module adds to a folder it has written. It checks nothing about the map; the names are
the ones the game code looks up (README.md beside this file says which fault each avoids).
"""
import os

import lit_setup

# map classname -> (C++ spawnclass, default keys)
CLASSES = [
    ('worldspawn', 'idWorldspawn', {}),
    ('light', 'idLight', {}),
    ('func_static', 'idStaticEntity', {}),
    ('func_door', 'idDoor', {}),
    ('func_plat', 'idPlat', {}),
    ('func_riser', 'idRiser', {}),
    ('func_mover', 'idMover', {}),
    ('func_elevator', 'idElevator', {}),
    ('func_rotating', 'idRotater', {}),
    ('func_bobbing', 'idBobber', {}),
    ('func_pendulum', 'idPendulum', {}),
    ('func_teleporter', 'idTeleporter', {}),
    ('func_itemremove', 'idItemRemover', {}),
    ('func_damagable', 'idDamagable', {}),
    ('func_waitforbutton', 'idTarget_WaitForButton', {}),
    ('trigger_multiple', 'idTrigger_Multi', {}),
    ('trigger_once', 'idTrigger_Multi', {'wait': '-1'}),
    ('trigger_relay', 'idTrigger_Multi', {'noTouch': '1', 'wait': '0'}),
    ('trigger_hurt', 'idTrigger_Hurt', {}),
    ('trigger_timer', 'idTrigger_Timer', {}),
    ('trigger_count', 'idTrigger_Count', {}),
    ('target_endLevel', 'idTarget_EndLevel', {}),
    ('target_setkeyval', 'idTarget_SetKeyVal', {}),
    ('target_setshaderparm', 'idTarget_SetShaderParm', {}),
    ('target_tip', 'idTarget_Tip', {}),
    ('target_null', 'idTarget', {}),
    ('info_player_start', 'idPlayerStart', {}),
    ('info_player_teleport', 'idPlayerStart', {}),
    ('info_player_deathmatch', 'idPlayerStart', {}),
    ('path_corner', 'idPathCorner', {}),
]

# Damage definitions the game code names: movers crushing (idDoor/idPlat), trigger_hurt's and
# func_damage's defaults, telefragging (KillBox), falls (idPlayer::CrashLand), no air and the
# player's precached suicide. No knockback, so a test's player is never pushed by them.
DAMAGE_DEFS = {
    'damage_moverCrush': 1, 'damage_painTrigger': 10, 'damage_telefrag': 9999, 'damage_softfall': 0,
    'damage_hardfall': 0, 'damage_fatalfall': 0, 'damage_noair': 0, 'damage_suicide': 9999, 'damage_generic': 10,
}

PLAYER_FIELDS = ('FORWARD BACKWARD STRAFE_LEFT STRAFE_RIGHT ATTACK_HELD WEAPON_FIRED JUMP DEAD CROUCH ONGROUND '
                 'ONLADDER HARDLANDING SOFTLANDING RUN PAIN RELOAD TELEPORT TURN_LEFT TURN_RIGHT').split()
WEAPON_FIELDS = 'ATTACK RELOAD NETRELOAD NETENDRELOAD NETFIRING RAISEWEAPON LOWERWEAPON'.split()

PLAYER_KEYS = {
    'spawnclass': 'idPlayer',
    'scriptobject': 'player',
    'model': 'kit_player',
    'bone_hips': 'hips', 'bone_chest': 'Chest', 'bone_head': 'head',
    # No weapon in hand: slot 1 has no def, and the weapon code would use a missing def.
    'current_weapon': '-1',
    # A flashlight slot, so that choosing the next weapon from slot -1 comes to an end.
    'def_weapon0': 'weapon_flashlight',
}

# The script events the runner's helpers call; each must match the engine's own event
# definition (name, argument and return types), which the compiler checks.
SCRIPT_EVENTS = '''scriptEvent\tvoid\twaitFrame();
scriptEvent\tvoid\tprintln(string text);
scriptEvent\tentity\tgetEntity(string name);
scriptEvent\tvector\tgetMins();
scriptEvent\tvector\tgetMaxs();
scriptEvent\tvector\tgetWorldOrigin();
scriptEvent\tvoid\tsetLinearVelocity(vector velocity);
scriptEvent\tfloat\tvecLength(vector vec);
scriptEvent\tvector\tgetLinearVelocity();
'''

# Helpers for the console's `script` command: a player pushed along by its velocity, one
# frame at a time, so its own physics moves it and it touches triggers as it goes (the push
# stops when the player is moved far in one frame: a teleport); and an
# entity's clip bounds and place, printed on one line the runner parses. The console strips
# quotes, so a name is passed from a function generated for the scenario (report_bounds).
SCRIPT_HELPERS = '''void kit_walk(float vx, float vy, float frames) {
\tentity walker;
\tvector velocity, last;
\tfloat i;
\twalker = sys.getEntity("player1");
\tlast = walker.getWorldOrigin();
\tfor (i = 0; i < frames; i++) {
\t\tvelocity = walker.getLinearVelocity();
\t\tvelocity_x = vx;
\t\tvelocity_y = vy;
\t\twalker.setLinearVelocity(velocity);
\t\tsys.waitFrame();
\t\tif (sys.vecLength(walker.getWorldOrigin() - last) > 32) {
\t\t\tsys.println("kit_walk jumped");
\t\t\treturn;
\t\t}
\t\tlast = walker.getWorldOrigin();
\t}
\tsys.println("kit_walk done");
}

void kit_bounds(string name) {
\tentity e;
\te = sys.getEntity(name);
\tif (!e) {
\t\tsys.println("kit_bounds " + name + " none");
\t\treturn;
\t}
\tsys.println("kit_bounds " + name + " mins " + e.getMins() + " maxs " + e.getMaxs() + " origin " + e.getWorldOrigin());
}
'''

MD5MESH = '''MD5Version 10
commandline "generated stand-in"

numJoints 4
numMeshes 1

joints {
\t"origin"\t-1 ( 0 0 0 ) ( 0 0 0 )
\t"hips"\t0 ( 0 0 36 ) ( 0 0 0 )
\t"Chest"\t1 ( 0 0 52 ) ( 0 0 0 )
\t"head"\t2 ( 0 0 68 ) ( 0 0 0 )
}

mesh {
\tshader "_default"
\tnumverts 3
\tvert 0 ( 0 0 ) 0 1
\tvert 1 ( 1 0 ) 1 1
\tvert 2 ( 0 1 ) 2 1
\tnumtris 1
\ttri 0 0 1 2
\tnumweights 3
\tweight 0 1 1 ( 0 0 0 )
\tweight 1 2 1 ( 0 0 0 )
\tweight 2 3 1 ( 1 0 0 )
}
'''

def _entity_def(name, keys):
    body = ''.join('\t"%s"\t"%s"\n' % kv for kv in keys.items())
    return 'entityDef %s {\n%s}\n' % (name, body)


def game_defs():
    """The text of def/kit_game.def."""
    out = ['// generated stand-in game definitions (no game data)\n']
    for name, spawnclass, defaults in CLASSES:
        out.append(_entity_def(name, dict({'spawnclass': spawnclass}, **defaults)))
    for name, damage in sorted(DAMAGE_DEFS.items()):
        out.append(_entity_def(name, {'damage': str(damage), 'knockback': '0', 'kick_time': '0'}))
    out.append(_entity_def('ammo_types', {'ammo_none': '0'}))
    out.append(_entity_def('ammo_names', {'ammo_none': 'none'}))
    out.append(_entity_def('weapon_flashlight_new', {'weapon_scriptobject': 'weapon_kit'}))
    out.append('model kit_player {\n\tmesh\tmodels/kit/player.md5mesh\n}\n')
    out.append(_entity_def('player_doommarine', PLAYER_KEYS))
    return '\n'.join(out)


def main_script(extra=''):
    """The text of script/doom_main.script, with a scenario's own functions appended."""
    s = '// generated stand-in script objects and helpers\n\n' + SCRIPT_EVENTS + '\n'
    s += 'object player {\n' + ''.join('\tboolean\tAI_%s;\n' % n for n in PLAYER_FIELDS)
    s += '\tvoid\tinit();\n};\n\nvoid player::init() {\n}\n\n'
    s += 'object weapon_kit {\n' + ''.join('\tboolean\tWEAPON_%s;\n' % n for n in WEAPON_FIELDS)
    s += '\tvoid\tinit();\n\tvoid\tUpdateSkin();\n};\n\n'
    s += 'void weapon_kit::init() {\n}\n\nvoid weapon_kit::UpdateSkin() {\n}\n\n'
    return s + SCRIPT_HELPERS + extra


def report_bounds(function, names):
    """A script function that prints kit_bounds for each entity name (the console cannot pass strings)."""
    calls = ''.join('\tkit_bounds("%s");\n' % n for n in names)
    return 'void %s() {\n%s}\n' % (function, calls)


def write_game(base, extra_script='', defined=()):
    """Adds the stand-in game data to a base folder that engine_base.write_base has filled;
    `defined` are the material names the packages give (their light materials are kept)."""
    files = {
        'def/kit_game.def': game_defs(),
        'script/doom_main.script': main_script(extra_script),
        'models/kit/player.md5mesh': MD5MESH,
    }
    files.update(lit_setup.light_files([n for n in lit_setup.LIGHT_MATERIALS if n not in defined]))
    for rel, data in files.items():
        path = os.path.join(base, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'wb' if isinstance(data, bytes) else 'w') as f:
            f.write(data)
