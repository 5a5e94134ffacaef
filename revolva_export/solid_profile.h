// Whether the surface of a sampled profile, turned about the axis, bounds a solid, and how its
// ends must be closed for that: decided in the profile's plane, on the single-precision samples
// the mesh is made of, with exact orientation tests.
#pragma once

#include <string>
#include <vector>

// A written sample of the profile: x the distance from the axis, z the height.
struct ProfilePoint {
    float x = 0.0f;
    float z = 0.0f;
};

enum class ProfileClosing {
    itself,  // a closed profile, or both ends on the axis: nothing to add
    discs,   // a flat disc at each end off the axis
    band,    // one band from the last sample's ring to the first's
};

struct ProfileVerdict {
    bool solid = false;
    ProfileClosing closing = ProfileClosing::itself;
    std::string reason;  // when not solid: why, in words, without a final full stop
};

// Judges the profile of `samples` (sample j at curve parameter j / (count - 1), at least two),
// whose last sample repeats the first when `closesItself`. With `mayClose` (--caps) ends off
// the axis are closed by discs when the profile then stays a simple loop, else by a band.
// Solid means: the closed profile is a simple loop on one side of the axis, touching it only
// along its closing or at its ends. Turned about the axis such a loop bounds a solid, and so
// does the mesh, whose every column is a linear image of the profile.
ProfileVerdict judgeProfile(const std::vector<ProfilePoint>& samples, bool closesItself,
                            bool mayClose);

// The sign of the turn from a to b to c (1 counter-clockwise in the x-z plane, -1 clockwise,
// 0 in line), exact for every finite input.
int orientation(const ProfilePoint& a, const ProfilePoint& b, const ProfilePoint& c);

// Where on the curve a fault lies, in words: "near t = 0.42".
std::string nearParameter(double t);
