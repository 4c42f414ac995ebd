#include "rail/rail_curve.h"

#include <cmath>

#include "gfxutil/vector_ops.h"
#include "scene/camera.h"

namespace {

constexpr float kParallelLimit = 0.0001f;   // 1 - cos^2 at or below this: tangents count as parallel
constexpr float kMinMidpointShare = 0.25f;  // a candidate midpoint keeps this share of the chord from either end
constexpr float kHandleShare = 0.4f;        // handle length of the fallback midpoint, per chord length
constexpr float kEndBendFactor = 0.2f;
constexpr float kInnerBendFactor = 0.5f;
constexpr float kLiftPerBend = 0.75f * 0.5f;

D3DXVECTOR3 Side(const D3DXVECTOR3& tangent) { return Normalized(Cross(tangent, kWorldUp)); }

// Always upward, whatever the sign of the bend.
D3DXVECTOR3 Lift(float bend) { return kWorldUp * (kLiftPerBend * std::fabs(bend)); }

// Bend at an end of the polygon, from its three end points in polygon order;
// `tangent` runs along the end chord.
float EndBend(const D3DXVECTOR3& first, const D3DXVECTOR3& middle, const D3DXVECTOR3& last,
              const D3DXVECTOR3& tangent) {
  D3DXVECTOR3 span = last - first;
  D3DXVECTOR3 v = span * ((Length(middle - first) + Length(last - middle)) / Dot(span, span));
  return kEndBendFactor * Dot(v, Side(tangent));
}

// Bend at the midpoint of the chord p[1] p[2] (tangent along it), seen from
// the chords before and after; zero unless the polygon turns the same way at p[1] and p[2].
float InnerBend(const D3DXVECTOR3* p, const D3DXVECTOR3& tangent) {
  D3DXVECTOR3 side = Side(tangent);
  D3DXVECTOR3 before = p[1] - p[0], after = p[3] - p[2];
  if (Dot(before, side) * Dot(after, side) >= 0.0f) return 0.0f;
  float perimeter = Length(after) + Length(p[2] - p[1]) + Length(before);
  return kInnerBendFactor * Dot((after - before) * (1.0f / perimeter), side);
}

// Midpoint and its tangent: the middle of the quadratic Bezier curve through
// the tangents' closest approach when that lies well inside the chord, else
// the middle of a cubic with handles along the tangents.
void Midpoint(const D3DXVECTOR3& start, const D3DXVECTOR3& end, const D3DXVECTOR3& startTangent,
              const D3DXVECTOR3& endTangent, D3DXVECTOR3& mid, D3DXVECTOR3& midTangent) {
  D3DXVECTOR3 chord = end - start;
  float length = Length(chord);
  float c = Dot(startTangent, endTangent);
  float k = 1.0f - c * c;
  if (k > kParallelLimit) {
    float alongStart = Dot(chord, startTangent), alongEnd = Dot(chord, endTangent);
    float sigma = (alongStart - c * alongEnd) / k;
    float tau = (c * alongStart - alongEnd) / k;
    D3DXVECTOR3 corner = ((start + startTangent * sigma) + (end + endTangent * tau)) * 0.5f;
    mid = ((start + end) * 0.5f + corner) * 0.5f;
    float fromStart = Length(mid - start), toEnd = Length(end - mid);
    if (fromStart <= length && toEnd <= length && fromStart >= kMinMidpointShare * length &&
        toEnd >= kMinMidpointShare * length) {
      midTangent = Normalized(chord);
      return;
    }
  }
  D3DXVECTOR3 handle0 = start + startTangent * (kHandleShare * length);
  D3DXVECTOR3 handle1 = end - endTangent * (kHandleShare * length);
  mid = (handle0 + handle1) * 0.5f;
  midTangent = Normalized(handle1 - handle0);
}

void Subdivide(const D3DXVECTOR3& start, const D3DXVECTOR3& end, const D3DXVECTOR3& startTangent,
               const D3DXVECTOR3& endTangent, D3DCOLOR colour, int depth) {
  if (!IsFinite(start) || !IsFinite(end)) return;
  float length = Length(end - start);
  if (!std::isfinite(length)) return;
  if (length <= kMaxChordLength || depth >= kMaxSubdivisionDepth) {
    DrawLine3D(start, end, colour);
    return;
  }
  D3DXVECTOR3 mid, midTangent;
  Midpoint(start, end, startTangent, endTangent, mid, midTangent);
  Subdivide(start, mid, startTangent, midTangent, colour, depth + 1);
  Subdivide(mid, end, midTangent, endTangent, colour, depth + 1);
}

}  // namespace

void SubdivideSegment(const D3DXVECTOR3& start, const D3DXVECTOR3& end, const D3DXVECTOR3& startTangent,
                      const D3DXVECTOR3& endTangent, D3DCOLOR colour) {
  Subdivide(start, end, startTangent, endTangent, colour, 0);
}

void TraceCurve(const D3DXVECTOR3* p, int n, D3DCOLOR colour) {
  if (n < 2) return;
  int segmentCount = n >= 3 ? n - 2 : 1;
  D3DXVECTOR3 start = p[0];
  D3DXVECTOR3 startTangent = Normalized(p[1] - p[0]);
  if (n >= 3) start += Lift(EndBend(p[0], p[1], p[2], startTangent));
  for (int i = 0; i < segmentCount; ++i) {
    D3DXVECTOR3 end, endTangent;
    if (n == 2) {
      end = p[1];
      endTangent = startTangent;
    } else if (i == n - 3) {
      endTangent = Normalized(p[n - 1] - p[n - 2]);
      end = p[n - 1] + Lift(EndBend(p[n - 3], p[n - 2], p[n - 1], endTangent));
    } else {
      endTangent = Normalized(p[i + 2] - p[i + 1]);
      end = (p[i + 1] + p[i + 2]) * 0.5f + Lift(InnerBend(p + i, endTangent));
    }
    SubdivideSegment(start, end, startTangent, endTangent, colour);
    start = end;
    startTangent = endTangent;
  }
}
