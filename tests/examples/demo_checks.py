"""Runs every check of the demo's outputs and reports each as passed or
failed."""
import traceback

import checks_drawing
import checks_points
import checks_sections
import checks_terrain
from demo_context import Context  # noqa: F401  (the runner's way in)

CHECKS = [
    checks_drawing.check_transcript,
    checks_terrain.check_settings_file,
    checks_terrain.check_tin,
    checks_terrain.check_break_lines,
    checks_terrain.check_contours,
    checks_terrain.check_tin_faces,
    checks_terrain.check_mesh,
    checks_terrain.check_volumes,
    checks_sections.check_profiles,
    checks_sections.check_existing_sections,
    checks_sections.check_spot_elevations,
    checks_sections.check_section_areas,
    checks_points.check_point_files,
    checks_points.check_node_lists,
    checks_points.check_landxml,
    checks_points.check_point_dump,
    checks_points.check_point_queries,
    checks_drawing.check_drawing_audit,
    checks_drawing.check_drawing_renders,
    checks_drawing.check_pictures,
]


def run_all(context):
    """Runs the checks in order; returns the number that failed."""
    failures = 0
    for check in CHECKS:
        name = check.__name__[len("check_"):]
        try:
            print("%s: %s" % (name, check.__doc__.split("\n")[0]))
            check(context)
            print("  passed")
        except Exception as error:  # a check's failure, whatever raised it
            failures += 1
            print("  FAILED: %s" % error)
            if not isinstance(error, AssertionError):
                traceback.print_exc()
    print("%d of %d checks failed" % (failures, len(CHECKS)))
    return failures
