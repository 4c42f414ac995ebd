#include "recorded_lines.h"

float RecordedLine::Length() const {
  D3DXVECTOR3 d = end - start;
  return D3DXVec3Length(&d);
}

std::vector<RecordedLine> RecordedLines(const CallRecord& device) {
  std::vector<RecordedLine> lines;
  for (const DeviceCall* call : device.Named("DrawPrimitiveUP")) {
    bool oneLine = call->Arg(0) == static_cast<double>(D3DPT_LINELIST) && call->Arg(1) == 1 && call->Arg(2) == 16;
    if (!oneLine || call->fvf != (D3DFVF_XYZ | D3DFVF_DIFFUSE)) continue;
    std::vector<RecordedVertex> v = DecodeVertices(*call);
    if (v.size() != 2) continue;
    lines.push_back({v[0].position, v[1].position, v[0].diffuse, v[1].diffuse});
  }
  return lines;
}
