// The exact tests: a product of two floats is exact in double (24 + 24 bits of 53), so the
// orientation determinant is a sum of six exact products, which is summed without rounding as a
// floating-point expansion (Knuth's two-sum); its sign is that of the expansion's largest part.
// Every other test compares single-precision coordinates and so is exact as well.
#include "solid_profile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// a + b = sum + error exactly, for any two doubles without overflow.
void twoSum(double a, double b, double& sum, double& error) {
    sum = a + b;
    const double bPart = sum - a;
    const double aPart = sum - bPart;
    error = (a - aPart) + (b - bPart);
}

// The sign of the exact sum of `count` doubles (at most six).
int signOfExactSum(const double* terms, int count) {
    double parts[6];
    int used = 0;
    for (int k = 0; k < count; ++k) {
        double carry = terms[k];
        for (int p = 0; p < used; ++p) twoSum(carry, parts[p], carry, parts[p]);
        parts[used++] = carry;
    }
    for (int p = used - 1; p >= 0; --p) {
        if (parts[p] != 0.0) return parts[p] > 0.0 ? 1 : -1;
    }
    return 0;
}

bool samePoint(const ProfilePoint& a, const ProfilePoint& b) { return a.x == b.x && a.z == b.z; }

// Whether p, in line with a and b, lies on the segment from a to b.
bool withinSegment(const ProfilePoint& a, const ProfilePoint& b, const ProfilePoint& p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.z, b.z) <= p.z &&
           p.z <= std::max(a.z, b.z);
}

// Whether the closed segments p1-p2 and q1-q2 have a point in common.
bool segmentsMeet(const ProfilePoint& p1, const ProfilePoint& p2, const ProfilePoint& q1,
                  const ProfilePoint& q2) {
    const int d1 = orientation(q1, q2, p1), d2 = orientation(q1, q2, p2);
    const int d3 = orientation(p1, p2, q1), d4 = orientation(p1, p2, q2);
    if (d1 * d2 < 0 && d3 * d4 < 0) return true;
    return (d1 == 0 && withinSegment(q1, q2, p1)) || (d2 == 0 && withinSegment(q1, q2, p2)) ||
           (d3 == 0 && withinSegment(p1, p2, q1)) || (d4 == 0 && withinSegment(p1, p2, q2));
}

// Where along p1-p2 it meets the line through q1 and q2, from 0 to 1; for messages only.
double meetingFraction(const ProfilePoint& p1, const ProfilePoint& p2, const ProfilePoint& q1,
                       const ProfilePoint& q2) {
    const auto side = [&](const ProfilePoint& p) {
        return (double(q2.x) - q1.x) * (double(p.z) - q1.z) -
               (double(q2.z) - q1.z) * (double(p.x) - q1.x);
    };
    const double s1 = side(p1), s2 = side(p2);
    if (s1 == s2) return 0.5;
    return std::clamp(s1 / (s1 - s2), 0.0, 1.0);
}

// The segments of a loop: segment k runs from point k to point k + 1 (the last back to the
// first); the curve's own come first.
struct Loop {
    std::vector<ProfilePoint> points;
    std::vector<int> closing;  // per segment: -1 for a curve segment, else its ClosingPart
};

enum class ClosingPart { discStart = 0, discEnd, axis, band };

struct LoopFault {
    bool found = false;
    int first = -1, second = -1;                 // the segments at fault (equal for one too short)
    double firstAlong = 0.5, secondAlong = 0.5;  // where they meet, along each
};

std::size_t segmentCount(const Loop& loop) { return loop.points.size(); }
const ProfilePoint& startOf(const Loop& loop, std::size_t k) { return loop.points[k]; }
const ProfilePoint& endOf(const Loop& loop, std::size_t k) {
    return loop.points[(k + 1) % loop.points.size()];
}

// Neighbouring segments share their joint only, unless the second turns straight back.
bool foldsBack(const Loop& loop, std::size_t k) {
    const ProfilePoint& a = startOf(loop, k);
    const ProfilePoint& joint = endOf(loop, k);
    const ProfilePoint& c = endOf(loop, (k + 1) % segmentCount(loop));
    return orientation(a, joint, c) == 0 &&
           (withinSegment(joint, c, a) || withinSegment(a, joint, c));
}

LoopFault faultAt(const Loop& loop, std::size_t k, std::size_t l) {
    LoopFault fault;
    fault.found = true;
    fault.first = static_cast<int>(k);
    fault.second = static_cast<int>(l);
    if (k != l) {
        fault.firstAlong =
            meetingFraction(startOf(loop, k), endOf(loop, k), startOf(loop, l), endOf(loop, l));
        fault.secondAlong =
            meetingFraction(startOf(loop, l), endOf(loop, l), startOf(loop, k), endOf(loop, k));
    }
    return fault;
}

bool isCurveSegment(const Loop& loop, std::size_t k) { return loop.closing[k] < 0; }

// The first fault that keeps the loop from being simple: a segment of no length, a fold back,
// or two segments that are not neighbours meeting; with `curveOnly`, among the curve's own
// segments alone. Segments are swept by height, so only those whose heights overlap are
// compared.
LoopFault firstFault(const Loop& loop, bool curveOnly) {
    const std::size_t count = segmentCount(loop);
    if (count < 3 && !curveOnly) return faultAt(loop, 0, count - 1);
    const auto judged = [&](std::size_t k) { return !curveOnly || isCurveSegment(loop, k); };
    for (std::size_t k = 0; k < count; ++k) {
        if (judged(k) && samePoint(startOf(loop, k), endOf(loop, k))) return faultAt(loop, k, k);
    }
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t next = (k + 1) % count;
        if (judged(k) && judged(next) && foldsBack(loop, k)) return faultAt(loop, k, next);
    }
    const auto low = [&](std::size_t k) { return std::min(startOf(loop, k).z, endOf(loop, k).z); };
    const auto high = [&](std::size_t k) { return std::max(startOf(loop, k).z, endOf(loop, k).z); };
    std::vector<std::size_t> byHeight;
    for (std::size_t k = 0; k < count; ++k) {
        if (judged(k)) byHeight.push_back(k);
    }
    std::sort(byHeight.begin(), byHeight.end(),
              [&](std::size_t a, std::size_t b) { return low(a) < low(b); });
    for (std::size_t m = 0; m < byHeight.size(); ++m) {
        const std::size_t k = byHeight[m];
        for (std::size_t n = m + 1; n < byHeight.size() && low(byHeight[n]) <= high(k); ++n) {
            const std::size_t l = byHeight[n];
            const bool neighbours = (k + 1) % count == l || (l + 1) % count == k;
            if (neighbours) continue;
            if (segmentsMeet(startOf(loop, k), endOf(loop, k), startOf(loop, l), endOf(loop, l)))
                return faultAt(loop, std::min(k, l), std::max(k, l));
        }
    }
    return {};
}

struct Profile {
    std::vector<ProfilePoint> samples;  // on the side x >= 0
    bool closesItself = false;
    double parameterOf(std::size_t segment, double along) const {
        return (static_cast<double>(segment) + along) / static_cast<double>(samples.size() - 1);
    }
};

// The curve's own part of every loop: the samples, the repeated last one left out.
Loop curveLoop(const Profile& profile) {
    Loop loop;
    loop.points = profile.samples;
    if (profile.closesItself) loop.points.pop_back();
    loop.closing.assign(profile.closesItself ? loop.points.size() : loop.points.size() - 1, -1);
    return loop;
}

void addClosing(Loop& loop, const ProfilePoint* corner, ClosingPart part) {
    if (corner != nullptr) loop.points.push_back(*corner);
    loop.closing.push_back(static_cast<int>(part));
}

Loop closedLoop(const Profile& profile, ProfileClosing closing) {
    Loop loop = curveLoop(profile);
    if (profile.closesItself) return loop;
    const ProfilePoint first = profile.samples.front(), last = profile.samples.back();
    if (closing == ProfileClosing::band) {
        addClosing(loop, nullptr, ClosingPart::band);
        return loop;
    }
    const ProfilePoint lastCentre{0.0f, last.z}, firstCentre{0.0f, first.z};
    if (last.x != 0.0f) addClosing(loop, &lastCentre, ClosingPart::discEnd);
    if (first.x != 0.0f) {
        addClosing(loop, &firstCentre, ClosingPart::axis);
        addClosing(loop, nullptr, ClosingPart::discStart);
    } else {
        addClosing(loop, nullptr, ClosingPart::axis);
    }
    return loop;
}

// What is wrong with the curve itself, whatever closes it: empty when nothing.
std::string curveFault(const Profile& profile, const Loop& loop) {
    const LoopFault fault = firstFault(loop, true);
    if (!fault.found) return {};
    const double t = profile.parameterOf(fault.first, fault.firstAlong);
    if (fault.first == fault.second)
        return "two neighbouring samples of the curve fall on one point " + nearParameter(t);
    return "the curve crosses itself " + nearParameter(t) + " and " +
           nearParameter(profile.parameterOf(fault.second, fault.secondAlong)).substr(5);
}

// What a closing would do wrong, as the end of a sentence whose subject is the closing.
std::string closingFault(const Profile& profile, const Loop& loop, const LoopFault& fault) {
    for (const int k : {fault.first, fault.second}) {
        if (!isCurveSegment(loop, static_cast<std::size_t>(k))) continue;
        const double along = k == fault.first ? fault.firstAlong : fault.secondAlong;
        return "cut through the surface " + nearParameter(profile.parameterOf(k, along));
    }
    return "overlap each other";
}

// Mirrors a profile that lies at x <= 0 (the same surface of revolution) and finds where the
// samples leave the finite range, cross the axis or touch it away from the ends.
std::string sideFault(Profile& profile) {
    std::vector<ProfilePoint>& s = profile.samples;
    const std::size_t count = s.size();
    for (std::size_t j = 0; j < count; ++j) {
        if (!std::isfinite(s[j].x) || !std::isfinite(s[j].z))
            return "the curve runs beyond the range of single precision " +
                   nearParameter(profile.parameterOf(j, 0.0));
    }
    const auto offAxis =
        std::find_if(s.begin(), s.end(), [](const ProfilePoint& p) { return p.x != 0.0f; });
    if (offAxis != s.end() && offAxis->x < 0.0f) {
        for (ProfilePoint& p : s) p.x = -p.x;
    }
    for (std::size_t j = 0; j < count; ++j) {
        if (s[j].x < 0.0f) {
            const double along = j == 0 ? 0.0 : double(s[j - 1].x) / (double(s[j - 1].x) - s[j].x);
            return "the curve crosses the axis " +
                   nearParameter(j == 0 ? 0.0 : profile.parameterOf(j - 1, along));
        }
        const bool end = (j == 0 || j + 1 == count) && !profile.closesItself;
        if (s[j].x == 0.0f && !end)
            return "the curve touches the axis " + nearParameter(profile.parameterOf(j, 0.0));
    }
    return {};
}

ProfileVerdict notSolid(std::string reason) {
    ProfileVerdict verdict;
    verdict.reason = std::move(reason);
    return verdict;
}

ProfileVerdict solid(ProfileClosing closing) {
    ProfileVerdict verdict;
    verdict.solid = true;
    verdict.closing = closing;
    return verdict;
}

}  // namespace

std::string nearParameter(double t) {
    char text[32];
    std::snprintf(text, sizeof text, "near t = %.2f", t);
    return text;
}

int orientation(const ProfilePoint& a, const ProfilePoint& b, const ProfilePoint& c) {
    const double products[6] = {double(a.x) * b.z,  -double(a.z) * b.x, double(b.x) * c.z,
                                -double(b.z) * c.x, double(c.x) * a.z,  -double(c.z) * a.x};
    return signOfExactSum(products, 6);
}

ProfileVerdict judgeProfile(const std::vector<ProfilePoint>& samples, bool closesItself,
                            bool mayClose) {
    Profile profile{samples, closesItself};
    const std::string side = sideFault(profile);
    if (!side.empty()) return notSolid(side);
    const Loop discLoop = closedLoop(profile, ProfileClosing::discs);
    const std::string curve = curveFault(profile, discLoop);
    if (!curve.empty()) return notSolid(curve);
    const LoopFault discFault = firstFault(discLoop, false);
    const ProfilePoint first = profile.samples.front(), last = profile.samples.back();
    if (closesItself || (first.x == 0.0f && last.x == 0.0f)) {
        if (!discFault.found) return solid(ProfileClosing::itself);
        return notSolid(samePoint(first, last)
                            ? "both ends of the curve meet at one point of the axis"
                            : "the curve runs along the axis and encloses nothing");
    }
    if (!discFault.found && mayClose) return solid(ProfileClosing::discs);
    const Loop bandLoop = closedLoop(profile, ProfileClosing::band);
    const LoopFault bandFault = firstFault(bandLoop, false);
    if (!bandFault.found && mayClose) return solid(ProfileClosing::band);
    if (!mayClose && !discFault.found)
        return notSolid(
            "an end of the curve is off the axis and left open (--caps closes it "
            "with a flat disc)");
    if (!mayClose && !bandFault.found)
        return notSolid(
            "the ends of the curve are off the axis and left open (--caps closes "
            "them with a band joining them)");
    return notSolid("no closing of its ends makes a solid: flat discs would " +
                    closingFault(profile, discLoop, discFault) +
                    ", and a band joining the ends would " +
                    closingFault(profile, bandLoop, bandFault));
}
