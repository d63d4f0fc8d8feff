"""Judges each special sector of a DOOM level against the converted map's entities.

A sector special is split into parts: a light effect (DOOM's code on every light of the
sector as shaderParm7; when written, shaderParm5 the thinker's darkest level over its
brightest and shaderParm6 the glow's cycles a second or the flicker's step), damage
(a trigger_hurt with doom_damage_N every 32 tics),
a secret (a player-only trigger_once that fires something), a timed door (a
trigger_timer, started on, whose delay is DOOM's 30 s or 300 s, moving the sector's
ceiling as DOOM's door does) and the exit of special 11. Boom's generalized sectors
(32 and up) keep the light code in bits 0-4, damage in bits 5-6, the secret in bit 7;
friction and push bits are left out. Special 4 runs the fast strobe of special 2 (one
thinker, P_SpawnStrobeFlash with FASTDARK), so its light effect code is 2. Each part is
right, wrong (reasons) or missing.
"""
import collections

import d3movers
import effects
import nextlevel

Part = collections.namedtuple('Part', 'kind value')
SectorVerdict = collections.namedtuple('SectorVerdict', 'sector special parts')   # parts: [(Part, status, reasons)]

LIGHT_CODES = (1, 2, 3, 4, 8, 12, 13, 17)
DAMAGE_DELAY = 32 / 35.0
_VANILLA = {5: [Part('damage', 10)], 7: [Part('damage', 5)], 16: [Part('damage', 20)], 9: [Part('secret', None)],
            10: [Part('door', 'close')], 14: [Part('door', 'open')], 4: [Part('light', 2), Part('damage', 20)],
            11: [Part('damage', 20), Part('exit', None)]}


def parts_of(special):
    if special < 32:
        if special in _VANILLA:
            return list(_VANILLA[special])
        return [Part('light', special)] if special in LIGHT_CODES else []
    low = special & 31
    found = []
    if low in LIGHT_CODES:
        found.append(Part('light', 2 if low == 4 else low))
    if low in (10, 14):
        found.append(Part('door', 'close' if low == 10 else 'open'))
    damage = (0, 5, 10, 20)[(special >> 5) & 3]
    if low == 4:
        damage = 20
    if damage:
        found.append(Part('damage', damage))
    if special & 128:
        found.append(Part('secret', None))
    return found


class SectorJudge:
    def __init__(self, ctx, entities, line_judge, scale):
        self.ctx = ctx
        self.map = entities
        self.scale = scale
        self.by_sector = line_judge.by_sector
        self.lights = line_judge.lights

    def judge(self, s):
        special = self.ctx.sectors.records[s].special
        parts = parts_of(special)
        if not parts:
            return None
        results = []
        for part in parts:
            problems = []
            status = getattr(self, '_' + part.kind)(s, part, problems)
            results.append((part, status if status else ('wrong' if problems else 'right'), problems))
        return SectorVerdict(s, special, results)

    def _light(self, s, part, problems):
        lights = self.lights.get(s, [])
        if not lights:
            problems.append('sector %d has no light of its own' % s)
            return 'missing'
        ratio, rate = self._light_shape(s, part.value)
        for light in lights:
            code = light.number('shaderParm7')
            if code != part.value:
                problems.append('%s has light effect %s, DOOM %d' % (
                    light.name, '(none)' if code is None else effects.fmt(code), part.value))
            written = light.number('shaderParm5')
            if written is not None and ratio is not None and abs(written - ratio) > 0.01:
                problems.append('%s dims to %s of its level, DOOM to %s' % (
                    light.name, effects.fmt(written), effects.fmt(ratio)))
            written = light.number('shaderParm6')
            if written is not None and rate is not None and abs(written - rate) > 0.01 * max(1.0, rate):
                problems.append('%s has %s as its %s, DOOM %s' % (
                    light.name, effects.fmt(written), 'glow rate' if part.value == 8 else 'flicker step', effects.fmt(rate)))
        return None

    def _light_shape(self, s, code):
        """DOOM's thinker for the effect (p_lights.c): its darkest level over the
        brightest, and for the glow its cycles a second (8 levels a tic down and up),
        for the fire flicker one step of 16 levels over the brightest."""
        S = self.ctx.sectors
        bright = S.light(s)
        if bright <= 0:
            return None, None
        dark = S.min_light_around(s, bright)
        rate = None
        if code in (2, 3, 4, 12, 13) and dark == bright:
            dark = 0
        if code == 8 and bright > dark:
            rate = 35.0 * 8 / (2 * (bright - dark))
        if code == 17:
            dark, rate = dark + 16, 16.0 / bright
        return dark / float(bright), rate

    def _damage(self, s, part, problems):
        hurts = [e for e in self.by_sector.get(s, []) if e.classname == 'trigger_hurt']
        if not hurts:
            problems.append('nothing hurts in sector %d' % s)
            return 'missing'
        for e in hurts:
            wanted = 'doom_damage_%d' % part.value
            if e.keys.get('def_damage', '').lower() != wanted:
                problems.append('%s deals %s, DOOM %d (%s)' % (
                    e.name, e.keys.get('def_damage', 'the default damage'), part.value, wanted))
            delay = e.number('delay', 1.0)
            if abs(delay - DAMAGE_DELAY) > effects.TIME_SLACK:
                problems.append('%s hurts every %ss, DOOM every %ss' % (
                    e.name, effects.fmt(delay), effects.fmt(DAMAGE_DELAY)))
            if e.keys.get('on', '1') == '0':
                problems.append('%s starts off' % e.name)
            self._inside(s, e, problems)
        return None

    def _secret(self, s, part, problems):
        found = [e for e in self.by_sector.get(s, []) if e.classname in ('trigger_once', 'trigger_multiple')]
        if not found:
            problems.append('nothing marks sector %d as a secret' % s)
            return 'missing'
        for e in found:
            if e.number('wait', -1.0 if e.classname == 'trigger_once' else 0.5) >= 0:
                problems.append('%s fires again; a DOOM secret counts once' % e.name)
            if e.flag('anyTouch') or e.flag('noClient') or e.flag('noTouch'):
                problems.append('%s is not for the player only' % e.name)
            if not self.map.targets(e):
                problems.append('%s tells the player nothing' % e.name)
            self._inside(s, e, problems)
        return None

    def _door(self, s, part, problems):
        timers = [e for e in self.by_sector.get(s, []) if e.classname == 'trigger_timer']
        if not timers:
            problems.append('no timer moves the door of sector %d' % s)
            return 'missing'
        S = self.ctx.sectors
        delay = 30.0 if part.value == 'close' else 300.0
        end = S.floor(s) if part.value == 'close' else S.lowest_ceiling_around(s) - 4
        for t in timers:
            if not t.flag('start_on'):
                problems.append('%s is not started with the level' % t.name)
            if abs(t.number('delay', 0.0) - delay) > effects.TIME_SLACK:
                problems.append('%s fires after %ss, DOOM\'s door moves after %ds' % (
                    t.name, effects.fmt(t.number('delay', 0.0)), delay))
            doors = [e for e in self.map.targets(t) if effects.sector_of(e) == s and d3movers.plane_of(e) == 'ceiling']
            if not doors:
                problems.append('%s moves no ceiling of sector %d' % (t.name, s))
            for door in doors:
                self._door_motion(s, door, end, t, problems)
        return None

    def _door_motion(self, s, door, end, timer, problems):
        try:
            mo = d3movers.motion(door)
        except d3movers.MoverError as e:
            problems.append(str(e))
            return
        ceiling = self.ctx.sectors.ceiling(s) * self.scale
        if abs(mo.rest - ceiling) > effects.HEIGHT_SLACK:
            problems.append('%s rests at %s, DOOM\'s at %d' % (
                door.name, effects.in_doom_units(mo.rest, self.scale), ceiling / self.scale))
        if abs(mo.end - end * self.scale) > effects.HEIGHT_SLACK:
            problems.append('%s moves to %s, DOOM\'s door to %d' % (
                door.name, effects.in_doom_units(mo.end, self.scale), end))
        fires_again = timer.number('wait', 1.0) >= 0
        if mo.wait is not None and not mo.toggle:
            problems.append('%s comes back after %ss, DOOM\'s door stays' % (door.name, effects.fmt(mo.wait)))
        elif mo.toggle and fires_again:
            problems.append('%s moves back when %s fires again' % (door.name, timer.name))

    def _exit(self, s, part, problems):
        starts = self.by_sector.get(s, [])
        ends = [e for e in self.map.reachable(starts) if e.classname == 'target_endLevel']
        if not ends:
            problems.append('nothing ends the level from sector %d' % s)
            return 'missing'
        wanted = nextlevel.next_level(self.ctx.level_name, False, self.ctx.has_map31)
        for e in ends:
            target = e.keys.get('nextMap', '').replace('\\', '/').split('/')[-1].upper()
            if (wanted == nextlevel.END) != e.flag('endOfGame') or (wanted != nextlevel.END and target != wanted):
                problems.append('%s does not lead to %s' % (e.name, wanted))
        return None

    def _inside(self, s, entity, problems):
        """The volume must not reach outside the sector's bounding box."""
        sector_box = self.ctx.sectors.bounds(s)
        box = entity.bounds()
        if sector_box is None or box is None:
            return
        x0, y0, x1, y1 = [v * self.scale for v in sector_box]
        slack = 2.0 * self.scale
        if box[0][0] < x0 - slack or box[0][1] < y0 - slack or box[1][0] > x1 + slack or box[1][1] > y1 + slack:
            problems.append('%s reaches outside sector %d' % (entity.name, s))
