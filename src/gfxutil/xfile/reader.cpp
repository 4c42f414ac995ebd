#include "gfxutil/xfile/reader.h"

#include "gfxutil/xfile/binary_reader.h"
#include "gfxutil/xfile/header.h"
#include "gfxutil/xfile/mapped_file.h"
#include "gfxutil/xfile/mesh_builder.h"
#include "gfxutil/xfile/mszip.h"
#include "gfxutil/xfile/objects.h"
#include "gfxutil/xfile/text_reader.h"
#include "platform/os/posix_system.h"

namespace {

// Offsets of the body are offsets of the file after its header.
class BodyPager final : public XInputPager {
 public:
  explicit BodyPager(XInputPager* file) : file_(file) {}
  void ReleaseBefore(size_t offset) override { file_->ReleaseBefore(kXFileHeaderSize + offset); }
  void Recall() override { file_->Recall(); }
  void DropBetween(size_t from, size_t to) override {
    file_->DropBetween(kXFileHeaderSize + from, kXFileHeaderSize + to);
  }

 private:
  XInputPager* file_;
};

// A fault of the file as a whole, at no particular place.
XReadError Whole(std::string what) { return XReadError{"", 0, std::move(what), ""}; }

template <class Reader>
HRESULT ParseBody(Reader& reader, const std::string& name, XMeshData& mesh, XReadError& error) {
  XMeshBuilder builder;
  XParseOutcome outcome = ParseXObjects(reader, builder, name);
  if (!outcome.ok) {
    error = reader.Error();
    error.objectPath = outcome.objectPath;
    mesh.notes = std::move(outcome.notes);
    return outcome.invalidData ? E_FAIL : D3DXFERR_PARSEERROR;
  }
  bool built = builder.Finish(mesh);
  mesh.notes = std::move(outcome.notes);
  if (!built) {
    error = Whole("the file holds no mesh with vertices");
    return E_FAIL;
  }
  return D3D_OK;
}

// Below this many compressed bytes a thread costs more than it saves.
constexpr size_t kInflateAside = 64u << 10;

// A compressed binary body is read while it is inflated, on another thread
// when a core stands idle, and gives back the pages the reader is done with; a
// text body is inflated first and kept whole, since its second readers may
// read behind the main one. A fault of the compression is reported rather
// than the reader's.
HRESULT ReadCompressed(std::span<const uint8_t> compressed, const XFileHeader& header, XInputPager* pager,
                       const std::string& name, XMeshData& mesh, XReadError& error) {
  XInflatingBody body;
  bool aside = header.binary && compressed.size() >= kInflateAside && IdleCoreNow(0);
  if (!body.Start(compressed, aside, pager, error.what)) return D3DXFERR_PARSEERROR;
  HRESULT result;
  if (header.binary) {
    XBinaryReader reader(body.Bytes(), body.Bytes() + body.Capacity(), header.floatBytes, kXFileHeaderSize, &body,
                         &body);
    result = ParseBody(reader, name, mesh, error);
  } else {
    XTextReader reader(body.Bytes(), body.Bytes() + body.Inflated());
    result = ParseBody(reader, name, mesh, error);
  }
  std::string fault;
  if (!body.Finish(fault)) {
    mesh = XMeshData();
    error = Whole(fault);
    return D3DXFERR_PARSEERROR;
  }
  return result;
}

HRESULT ReadBytes(std::span<const uint8_t> file, XInputPager* filePager, const std::string& name, XMeshData& mesh,
                  XReadError& error) {
  mesh = XMeshData();
  error = XReadError{};
  XFileHeader header;
  HRESULT result = ParseXFileHeader(file, header, error.what);
  if (FAILED(result)) return result;
  std::span<const uint8_t> body = file.subspan(kXFileHeaderSize);
  BodyPager bodyPager(filePager);
  XInputPager* pager = filePager ? &bodyPager : nullptr;
  if (header.compressed) return ReadCompressed(body, header, pager, name, mesh, error);
  const uint8_t* begin = body.data();
  const uint8_t* end = begin + body.size();
  if (header.binary) {
    XBinaryReader reader(begin, end, header.floatBytes, kXFileHeaderSize, pager);
    return ParseBody(reader, name, mesh, error);
  }
  XTextReader reader(begin, end, pager);
  return ParseBody(reader, name, mesh, error);
}

}  // namespace

HRESULT ReadXFileMemory(std::span<const uint8_t> file, XMeshData& mesh, XReadError& error, const std::string& name) {
  return ReadBytes(file, nullptr, name, mesh, error);
}

HRESULT ReadXFile(const char* path, XMeshData& mesh, XReadError& error) {
  XMappedFile file;
  error = XReadError{};
  if (!file.Open(path, error.what)) return E_FAIL;
  return ReadBytes(file.Bytes(), &file, path, mesh, error);
}
