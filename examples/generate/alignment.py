"""A road alignment in plan: straights joined by circular arcs at each
intersection point, as a designer lays it out, and the stations along it."""
import math

import numpy as np


def _unit(vector):
    length = math.hypot(vector[0], vector[1])
    if length == 0:
        raise ValueError("two intersection points coincide")
    return np.array([vector[0] / length, vector[1] / length])


def _left(direction):
    return np.array([-direction[1], direction[0]])


class Alignment:
    """Straights between intersection points (PIs), each inner PI rounded by
    an arc of the given radius. Elements are ("line", start, end) and
    ("arc", start, end, centre, radius, deflection), deflection in radians,
    positive for a turn to the left (counter-clockwise)."""

    def __init__(self, intersection_points, radii):
        pis = [np.asarray(p, dtype=float) for p in intersection_points]
        if len(pis) < 2 or len(radii) != len(pis) - 2:
            raise ValueError("an alignment needs two end points and one radius per inner point")
        self.elements = []
        position = pis[0]
        for i in range(1, len(pis) - 1):
            incoming = _unit(pis[i] - pis[i - 1])
            outgoing = _unit(pis[i + 1] - pis[i])
            deflection = math.atan2(incoming[0] * outgoing[1] - incoming[1] * outgoing[0],
                                    float(incoming @ outgoing))
            tangent = radii[i - 1] * math.tan(abs(deflection) / 2)
            curve_start = pis[i] - tangent * incoming
            curve_end = pis[i] + tangent * outgoing
            if float((curve_start - position) @ incoming) < 0:
                raise ValueError("the arc at intersection point %d overlaps the one before" % i)
            side = 1.0 if deflection > 0 else -1.0
            centre = curve_start + side * radii[i - 1] * _left(incoming)
            self.elements.append(("line", position, curve_start))
            self.elements.append(("arc", curve_start, curve_end, centre, radii[i - 1], deflection))
            position = curve_end
        if float((pis[-1] - position) @ _unit(pis[-1] - pis[-2])) < 0:
            raise ValueError("the last arc runs past the end point")
        self.elements.append(("line", position, pis[-1]))

    @staticmethod
    def _element_length(element):
        if element[0] == "line":
            return float(np.hypot(*(element[2] - element[1])))
        return element[4] * abs(element[5])

    @property
    def length(self):
        return sum(self._element_length(e) for e in self.elements)

    def polyline_vertices(self):
        """(x, y, bulge) of the polyline that draws the alignment: every arc's
        start carries its bulge, tan(deflection / 4)."""
        vertices = []
        for element in self.elements:
            if element[0] == "line":
                if np.hypot(*(element[2] - element[1])) > 1e-9:
                    vertices.append((element[1][0], element[1][1], 0.0))
            else:
                vertices.append((element[1][0], element[1][1], math.tan(element[5] / 4)))
        end = self.elements[-1][2]
        vertices.append((end[0], end[1], 0.0))
        return vertices

    def locate(self, distance):
        """Plan point and unit direction of travel at `distance` along the alignment."""
        if distance < -1e-9 or distance > self.length + 1e-9:
            raise ValueError("distance %.3f lies off the alignment" % distance)
        for element in self.elements:
            length = self._element_length(element)
            if distance <= length + 1e-9 or element is self.elements[-1]:
                if element[0] == "line":
                    direction = _unit(element[2] - element[1])
                    return element[1] + distance * direction, direction
                _, start, _, centre, radius, deflection = element
                start_angle = math.atan2(start[1] - centre[1], start[0] - centre[0])
                turn = math.copysign(distance / radius, deflection)
                angle = start_angle + turn
                point = centre + radius * np.array([math.cos(angle), math.sin(angle)])
                radial = np.array([math.cos(angle), math.sin(angle)])
                direction = _left(radial) if deflection > 0 else -_left(radial)
                return point, direction
            distance -= length
        raise AssertionError("unreachable")

    def section_line(self, distance, half_width):
        """End points of the section line square to the alignment at `distance`:
        the left end first, so that offsets grow to the right looking ahead."""
        point, direction = self.locate(distance)
        left = _left(direction)
        return point + half_width * left, point - half_width * left
