"""Judges each special line of a DOOM level against the converted map's entities.

For a line: DOOM's plan (doomplan), the entities made for it (`doom_line`), how they are
set off (activation) and what their target chains reach (effects). A line is 'right'
when nothing is wrong, 'wrong' with the wrong parameters named, 'missing' when nothing
made for it acts, or when it asks for an effect DOOM 3's stock entities cannot show;
'inert' when DOOM itself does nothing with it, or moves nothing from the level's start
(then it is not counted, unless the map acts on it). A DOOM door any player or monster opens by hand may be a func_door that
opens on touch, with no entity of the line's own. Scrolling walls are judged by the
faces and materials that show them (scrolls), without entities.
"""
import collections

import activation
import d3movers
import doomplan
import effects
import linetypes
import scrolls

Verdict = collections.namedtuple('Verdict', 'line special category status reasons')


class LineJudge:
    def __init__(self, ctx, entities, scale, materials=None):
        self.ctx = ctx
        self.map = entities
        self.scale = scale
        self.scrolls = scrolls.ScrollJudge(ctx.sectors, entities, scale, materials)
        self.by_line = collections.defaultdict(list)
        self.by_sector = collections.defaultdict(list)
        self.lights = collections.defaultdict(list)
        for e in entities.entities:
            if e.keys.get('doom_line', '').isdigit():
                self.by_line[int(e.keys['doom_line'])].append(e)
            s = effects.sector_of(e)
            if s is not None:
                self.by_sector[s].append(e)
                if e.classname == 'light':
                    self.lights[s].append(e)

    def judge(self, line):
        record = self.ctx.sectors.lines[line]
        lt = linetypes.describe(record.special)
        if lt is None:
            return Verdict(line, record.special, 'other', 'inert', ['not a DOOM or Boom special'])
        plan = doomplan.plan_line(self.ctx, line, lt)
        own = self.by_line.get(line, [])
        if plan.inert:
            return self._judge_inert(line, record, lt, plan, own)
        if plan.unsupported:
            return Verdict(line, record.special, lt.category, 'missing', [plan.unsupported])
        if lt.trigger == '-':
            return self._judge_scroll(line, record, lt, plan, own)
        starts, arms = self._activators(line, lt, own)
        if _moves_nothing(plan) and not effects.acts(starts + self.map.reachable(starts)):
            return Verdict(line, record.special, lt.category, 'inert',
                           ['every plane it moves already stands where DOOM\'s line sends it'])
        if not starts:
            return Verdict(line, record.special, lt.category, 'missing', ['nothing sets it off'])
        direct = set(id(t) for s in starts for t in self.map.targets(s))
        pool = starts + [e for e in self.map.reachable(starts) if e not in starts]
        if not effects.acts(pool):
            return Verdict(line, record.special, lt.category, 'missing', ['what sets it off acts on nothing'])
        problems = []
        activation.check(lt, record, starts, arms, self.ctx.sectors.line_points(line), self.scale, problems)
        if plan.moves:
            direct_entities = [e for e in pool if id(e) in direct or e in starts]
            effects.check_moves(plan, lt, pool, direct_entities, self.scale, problems)
        if plan.stops:
            effects.check_stops(plan, pool, self.by_sector, problems)
        if plan.destinations:
            effects.check_teleport(plan, pool, self.scale, problems)
            self._check_front_only(lt, starts, arms, problems)
        if plan.exit:
            effects.check_exit(plan, pool, problems)
        if plan.lights and not effects.check_lights(plan, pool, self.lights, problems):
            return Verdict(line, record.special, lt.category, 'missing',
                           ['the sectors it lights have no lights of their own'])
        return Verdict(line, record.special, lt.category, 'wrong' if problems else 'right', problems)

    def _judge_inert(self, line, record, lt, plan, own):
        if own and effects.acts(own + self.map.reachable(own)):
            return Verdict(line, record.special, lt.category, 'wrong',
                           ['DOOM does nothing with this line (%s), the map acts on it' % plan.inert])
        return Verdict(line, record.special, lt.category, 'inert', [plan.inert])

    def _judge_scroll(self, line, record, lt, plan, own):
        problems = []
        status = self.scrolls.judge(line, plan.scroll, problems)
        return Verdict(line, record.special, lt.category, status, problems)

    def _activators(self, line, lt, own):
        """(the entities that fire the effect, the volumes that only arm them): a
        trigger of the line's own that targets nothing but other triggers arms."""
        triggers = [e for e in own if activation.is_trigger(e)]
        arms, starts = [], []
        for e in triggers:
            targets = self.map.targets(e)
            only_triggers = targets and all(activation.is_trigger(t) for t in targets)
            (arms if only_triggers else starts).append(e)
        if not starts and lt.trigger == 'D':
            door = self._touch_door(line)
            if door is not None:
                starts = [door]
        return starts, arms

    def _touch_door(self, line):
        """The door behind a line used by hand, when it opens by touch."""
        behind = self.ctx.sectors.back[line]
        for e in self.by_sector.get(behind, []):
            if e.classname == 'func_door' and d3movers.plane_of(e) == 'ceiling' and not e.flag('no_touch') \
                    and not e.flag('health') and not e.flag('locked'):
                return e
        return None

    def _check_front_only(self, lt, starts, arms, problems):
        if lt.trigger != 'W':
            return
        for e in starts:
            if not e.flag('triggerFirst') or not arms:
                problems.append('%s also fires when crossed from the back, DOOM\'s line only from the front' % e.name)


def _moves_nothing(plan):
    """A mover line whose every plane starts where it would end: at the level's start DOOM
    moves nothing (what other lines move first is not followed)."""
    return bool(plan.moves) and all(m.start == m.end for m in plan.moves) and not (
        plan.stops or plan.destinations or plan.exit or plan.lights or plan.scroll)
