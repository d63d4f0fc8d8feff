"""The compiled-world reader on hand-written .proc texts, the door portal rule and the
brush entity "model" rule, without the engine."""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dmapcheck  # noqa: E402
import mapfile  # noqa: E402
import procfile  # noqa: E402

# Two areas (4 and 2 triangles), an entity model, a shadow model, one portal, two nodes.
PROC = '''mapProcFile003

model { /* name = */ "door1" /* numSurfaces = */ 1
/* surface 0 */ { "textures/test/wall" /* numVerts = */ 3 /* numIndexes = */ 3
( 0 0 0 0 0 0 0 1 ) ( 1 0 0 1 0 0 0 1 ) ( 0 1 0 0 1 0 0 1 )
0 1 2
}
}

model { /* name = */ "_area0" /* numSurfaces = */ 2
/* surface 0 */ { "textures/test/floor" /* numVerts = */ 4 /* numIndexes = */ 6
( 0 0 0 0 0 0 0 1 ) ( 8 0 0 1 0 0 0 1 ) ( 8 8 0 1 1 0 0 1 ) ( 0 8 0 0 1 0 0 1 )
0 1 2 0 2 3
}
/* surface 1 */ { "textures/test/wall" /* numVerts = */ 4 /* numIndexes = */ 6
( 0 0 0 0 0 1 0 0 ) ( 0 8 0 1 0 1 0 0 ) ( 0 8 8 1 1 1 0 0 ) ( 0 0 8 0 1 1 0 0 )
0 1 2 0 2 3
}
}

model { /* name = */ "_area1" /* numSurfaces = */ 1
/* surface 0 */ { "textures/test/floor" /* numVerts = */ 4 /* numIndexes = */ 6
( 16 0 0 0 0 0 0 1 ) ( 24 0 0 1 0 0 0 1 ) ( 24 8 0 1 1 0 0 1 ) ( 16 8 0 0 1 0 0 1 )
0 1 2 0 2 3
}
}

shadowModel { /* name = */ "_prelight_x"
/* numVerts = */ 2 /* noCaps = */ 0 /* noFrontCaps = */ 0 /* numIndexes = */ 3 /* planeBits = */ 0
( 0 0 0 ) ( 1 1 1 )
0 1 0
}

interAreaPortals { /* numAreas = */ 2 /* numIAP = */ 1
// interAreaPortal format is: numPoints positiveSideArea negativeSideArea ( point) ...
/* iap 0 */ 4 1 0 ( 12 0 0 ) ( 12 8 0 ) ( 12 8 8 ) ( 12 0 8 )
}

nodes { /* numNodes = */ 2
/* node format is: ( planeVector ) positiveChild negativeChild */
/* node 0 */ ( 1 0 0 -12 ) 1 -1
/* node 1 */ ( 0 1 0 0 ) -2 0
}
'''


def main():
    faults = []
    world = procfile.read(PROC)
    if world.areas != {0: 4, 1: 2} or world.models != {'door1': 1}:
        faults.append('areas and models: %s %s' % (world.areas, world.models))
    if abs(world.largest_share() - 4 / 6.0) > 1e-9:
        faults.append('largest share %g, not 2/3' % world.largest_share())
    if len(world.portals) != 1 or world.portals[0][:2] != (1, 0) or world.portals[0][2][2] != (12, 8, 8):
        faults.append('portal read as %s' % world.portals)
    broken = {
        'a wrong first line': PROC.replace('mapProcFile003', 'mapProcFile002'),
        'a cut file': PROC[:PROC.index('( 24 8 0')],
        'an index past the vertices': PROC.replace('0 1 2\n}', '0 1 3\n}', 1),
        'a portal to a missing area': PROC.replace('4 1 0 ( 12', '4 2 0 ( 12'),
        'a missing area model': PROC.replace('"_area1"', '"other"'),
        'a word between blocks': PROC.replace('nodes {', 'node {'),
    }
    for what, text in broken.items():
        try:
            procfile.read(text)
            faults.append('%s should not be read' % what)
        except procfile.ProcError as e:
            print('%s: %s' % (what, e))

    # The door's box, padded by one unit, must reach the portal's box: the portal at x = 12.
    portals = world.portals
    for lo_x, expected in ((13.0, 0), (12.9, 0), (13.1, None)):
        got = dmapcheck.door_portal(((lo_x, 0, 0), (20, 8, 8)), portals)
        if got != expected:
            faults.append('door from x = %g: portal %s, expected %s' % (lo_x, got, expected))
    if dmapcheck.door_portal(((13.0, 0, 9.5), (20, 8, 16)), portals) is not None:
        faults.append('a door above the portal should not find it')

    text = '\n'.join([
        '{ "classname" "worldspawn" { ( 0 0 0 ) ( 0 1 0 ) ( 0 0 1 ) a 0 0 0 1 1 } }',
        '{ "classname" "func_static" "name" "s1" "model" "s1" { ( 0 0 0 ) ( 0 1 0 ) ( 0 0 1 ) a 0 0 0 1 1 } }',
        '{ "classname" "func_door" "name" "d1" { ( 0 0 0 ) ( 0 1 0 ) ( 0 0 1 ) a 0 0 0 1 1 } }',
        '{ "classname" "func_static" "name" "s2" "model" "other" { ( 0 0 0 ) ( 0 1 0 ) ( 0 0 1 ) a 0 0 0 1 1 } }',
        '{ "classname" "light" "name" "l1" }'])
    missing = mapfile.brush_entities_without_model(mapfile.read_map(text))
    if missing != ['d1', 's2 (model "other")']:
        faults.append('brush entities without their model: %s' % missing)
    for f in faults:
        print('FAULT: ' + f)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
