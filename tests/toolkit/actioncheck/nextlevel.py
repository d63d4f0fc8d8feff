"""The level an exit leads to, by DOOM's rules (g_game.c: G_DoCompleted, G_WorldDone,
G_SecretExitLevel).

ExMy: E?M8 ends the episode whichever exit; a secret exit goes to E?M9; a normal exit
from E?M9 returns to E1M4, E2M6, E3M7 or E4M3; otherwise the next map. MAPxx: a secret
exit counts only when the wad set holds MAP31; then MAP15 goes to MAP31, MAP31 to MAP32,
and any other level's secret exit starts the same level again (the game leaves the
next-level slot as it was, pointing at the level being played); a normal exit from
MAP31 or MAP32 goes to MAP16, MAP30 ends the game, any other goes to the next map.
END stands for the end of the game or episode.
"""
import re

END = 'END'
_RETURNS = {1: 4, 2: 6, 3: 7, 4: 3}


def next_level(level, secret, has_map31=True):
    """The name of the next level (upper case), END, or None for a name DOOM does not use."""
    name = level.upper()
    m = re.fullmatch(r'E(\d)M(\d)', name)
    if m:
        episode, number = int(m.group(1)), int(m.group(2))
        if number == 8:
            return END
        if secret:
            return 'E%dM9' % episode
        if number == 9:
            return 'E%dM%d' % (episode, _RETURNS.get(episode, 1))
        return 'E%dM%d' % (episode, number + 1)
    m = re.fullmatch(r'MAP(\d\d)', name)
    if not m:
        return None
    number = int(m.group(1))
    if secret and has_map31:
        if number == 15:
            return 'MAP31'
        if number == 31:
            return 'MAP32'
        if number == 30:
            return END
        return name
    if number in (31, 32):
        return 'MAP16'
    if number == 30:
        return END
    return 'MAP%02d' % (number + 1)
