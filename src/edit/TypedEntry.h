// Coordinates and values typed while drawing: "x,y", "@dx,dy", "@d<a",
// "<a" and a plain number. Any text parses to one of these or to a refusal;
// every number that comes out is finite and fits a drawing coordinate.
#pragma once

#include <string>

enum TypedEntryKind {
    ENTRY_REFUSED,  // not one of the forms, or a number out of range
    ENTRY_ABSOLUTE, // x,y
    ENTRY_RELATIVE, // @dx,dy from the last point
    ENTRY_POLAR,    // @d<a: distance d at angle a (degrees, counter-clockwise)
    ENTRY_ANGLE,    // <a: the direction of the rubber band
    ENTRY_VALUE,    // a plain number: radius, angle, factor or distance
};

struct CTypedEntry {
    TypedEntryKind kind = ENTRY_REFUSED;
    double first = 0;  // x, dx, d, a or the value
    double second = 0; // y, dy or a
};

struct CTypedPoint {
    bool valid = false;
    double x = 0;
    double y = 0;
};

CTypedEntry ParseTypedEntry(const std::string& text);

// The point an entry names, given the last point; invalid for entries that
// name no point or whose result would leave the coordinate range. A zero
// coordinate comes out as +0.
CTypedPoint ResolveTypedPoint(const CTypedEntry& entry, double lastX, double lastY);

// The point at a distance from the last point, in the direction of another
// (the rubber band's end); invalid when both points coincide or the result
// is out of range.
CTypedPoint PointAlong(double lastX, double lastY, double towardX, double towardY, double distance);

// The point at a distance and angle (degrees) from the last point.
CTypedPoint PointAtAngle(double lastX, double lastY, double distance, double angleDegrees);

// The foot of another point on the ray from the last point at the angle
// (degrees): a click after "<a" gives only the distance along it, which is
// negative behind the last point.
CTypedPoint PointProjected(double lastX, double lastY, double towardX, double towardY, double angleDegrees);

// A coordinate with -0 turned into +0.
inline double WithoutNegativeZero(double value) { return value == 0 ? 0.0 : value; }
inline float WithoutNegativeZero(float value) { return value == 0 ? 0.0f : value; }
