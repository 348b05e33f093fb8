"""Checks of the ground profiles, the cross sections, the spot elevations and
the section areas."""
import re

import numpy as np

NOTE = "This file was created by Profile Cutter and may be deleted."
ALIGNMENT_LENGTH = 3004.829  # the sample road's centre line, as the generator laid it out


def _profile(ctx, name, command):
    lines = ctx.text(name, "triangulate", command).split("\r\n")
    assert lines[-1] == "", "%s does not end in CR LF" % name
    return np.array([[float(v) for v in line.split(" ")] for line in lines[:-1]])


def check_profiles(ctx):
    """Both profile commands cut the same ground along the road: stations grow
    from 0 to the road's length, elevations lie on the terrain."""
    low, high = ctx.terrain_range
    profiles = {}
    for name, command in (("site-exsec.pfl", "tzexsec"), ("site-expro.pfl", "tzexpro")):
        profile = _profile(ctx, name, command)
        assert len(profile) > 100, "%s holds only %d samples" % (name, len(profile))
        stations = profile[:, 0]
        assert np.all(np.diff(stations) >= 0), "%s: stations decrease" % name
        assert stations[0] >= 0 and stations[-1] <= ALIGNMENT_LENGTH + 1e-3, \
            "%s: stations %.3f..%.3f" % (name, stations[0], stations[-1])
        assert stations[-1] > ALIGNMENT_LENGTH - 100, "%s stops at station %.3f" % (name, stations[-1])
        assert np.all((profile[:, 1] >= low - 1e-6) & (profile[:, 1] <= high + 1e-6)), "%s leaves the terrain" % name
        profiles[name] = profile
        print("    %s: %d samples, stations %.1f to %.1f" % (name, len(profile), stations[0], stations[-1]))
    if len(profiles) == 2:
        a, b = (np.round(p, 5) for p in profiles.values())
        assert len(a) == len(b) and np.array_equal(a[np.lexsort(a.T[::-1])], b[np.lexsort(b.T[::-1])]), \
            "the edge-file profile and the TIN profile differ"
    with open(ctx.output("tztin.asc", "tzexsec"), "rb") as f:
        assert f.read() == NOTE.encode(), "tztin.asc does not hold the profile cutter's note"


def _read_sections(text):
    """.exs sections: (station, [(offset, elevation), ...]) each."""
    sections, current = [], None
    for line in text.split("\r\n")[:-1]:
        if line == "X":
            sections.append(current)
            current = None
        elif current is None:
            current = (float(line), [])
        else:
            offset, elevation = line.split(" ")
            current[1].append((float(offset), float(elevation)))
    assert current is None, "the last section is not closed by X"
    return sections


def check_existing_sections(ctx):
    """tzkerfline cuts every section line of site.exd across the model, from
    offset -80 to +80, offsets growing."""
    low, high = ctx.terrain_range
    sections = _read_sections(ctx.text("site.exs", "triangulate", "tzkerfline"))
    lines = np.loadtxt(ctx.path("site.exd"), delimiter=",", ndmin=2)
    assert [s[0] for s in sections] == list(lines[:, 1]), "stations differ from site.exd's"
    for station, points in sections:
        points = np.array(points)
        assert len(points) >= 4, "station %.0f has %d points" % (station, len(points))
        assert np.all(np.diff(points[:, 0]) >= 0), "offsets decrease at station %.0f" % station
        # The ends' offsets: the line's length (its ends given to the millimetre) less the origin distance.
        assert abs(points[0, 0] + 80) < 1e-9 and abs(points[-1, 0] - 80) < 0.002, \
            "station %.0f runs %.3f..%.3f" % (station, *points[[0, -1], 0])
        assert np.all((points[:, 1] >= low - 1e-6) & (points[:, 1] <= high + 1e-6)), "off the terrain at %.0f" % station
    print("    %d sections, %d points" % (len(sections), sum(len(s[1]) for s in sections)))


def check_spot_elevations(ctx):
    """tzfel labels the two picks on the model with leaders carrying their
    elevation and finds none in the quarry."""
    ctx.needs("triangulate", "tzfel")
    low, high = ctx.terrain_range
    printed = [float(v) for v in re.findall(r"The elevation is ([\d.]+)", ctx.transcript)]
    assert len(printed) == 2, "elevations printed: %s" % printed
    assert "There is no elevation." in ctx.transcript, "the pick in the quarry found an elevation"
    modelspace = ctx.saved_drawing.modelspace()
    leaders = modelspace.query("LEADER")
    labels = [m.text for m in modelspace.query("MTEXT")]
    assert len(leaders) == 2 and len(labels) == 2, "%d leaders, %d texts" % (len(leaders), len(labels))
    for value, label in zip(printed, labels):
        assert low <= value <= high and abs(float(label) - value) < 0.01, "label %s for %.6f" % (label, value)


def _read_proposed(path):
    sections = []
    with open(path) as f:
        words = f.read().split()
    i = 0
    while i < len(words):
        station = float(words[i])
        kind = words[i + 2]
        i += 3
        lines = {"EG": [], "datum": []}
        while words[i] != "X":
            if words[i] in lines:
                kind = words[i]
                i += 1
                continue
            size = 2 if kind == "EG" else 3
            lines[kind].append([float(w) for w in words[i:i + size]][:2])
            i += size
        sections.append((station, np.array(lines["EG"]), np.array(lines["datum"])))
        i += 1
    return sections


def check_section_areas(ctx):
    """tzsecvol: per station the cut (negative) and fill (positive) areas
    between the road's design line and the ground, as integrating the
    difference of the two lines gives them."""
    ctx.needs("tzsecvol")
    rows = np.loadtxt(ctx.output("site.vol"), ndmin=2)
    proposed = _read_proposed(ctx.path("site.pxs"))
    assert len(rows) == len(proposed), "%d lines for %d sections" % (len(rows), len(proposed))
    for (station, cut, fill), (expected_station, ground, design) in zip(rows, proposed):
        assert station == expected_station, "station %.3f where %.3f was expected" % (station, expected_station)
        assert cut <= 0 <= fill, "station %.0f: cut %.3f, fill %.3f" % (station, cut, fill)
        offsets = np.linspace(design[0, 0], design[-1, 0], 200001)
        difference = np.interp(offsets, design[:, 0], design[:, 1]) - np.interp(offsets, ground[:, 0], ground[:, 1])
        step = offsets[1] - offsets[0]
        want_fill = np.clip(difference, 0, None).sum() * step
        want_cut = np.clip(difference, None, 0).sum() * step
        for name, got, want in (("cut", cut, want_cut), ("fill", fill, want_fill)):
            assert abs(got - want) <= max(0.05, 0.005 * abs(want)), \
                "station %.0f: %s %.3f, the lines enclose %.3f" % (station, name, got, want)
    print("    %d stations, cut %.0f m2 and fill %.0f m2 in all" % (len(rows), -rows[:, 1].sum(), rows[:, 2].sum()))
