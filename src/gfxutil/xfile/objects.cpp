#include "gfxutil/xfile/objects.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "gfxutil/byte_order.h"
#include "gfxutil/load_notes.h"
#include "gfxutil/xfile/binary_reader.h"
#include "gfxutil/xfile/material.h"
#include "gfxutil/xfile/mesh_builder.h"
#include "gfxutil/xfile/meshes_ahead.h"
#include "gfxutil/xfile/object_type.h"
#include "gfxutil/xfile/raw_mesh.h"
#include "gfxutil/xfile/text_reader.h"
#include "platform/os/text_encoding.h"

namespace {

XType TypeOf(std::string_view identifier) {
  static constexpr std::pair<std::string_view, XType> kTypes[] = {
      {"Frame", XType::Frame},
      {"FrameTransformMatrix", XType::FrameTransformMatrix},
      {"Mesh", XType::Mesh},
      {"MeshNormals", XType::MeshNormals},
      {"MeshTextureCoords", XType::MeshTextureCoords},
      {"MeshVertexColors", XType::MeshVertexColors},
      {"MeshMaterialList", XType::MeshMaterialList},
      {"Material", XType::Material},
      {"TextureFilename", XType::TextureFilename},
  };
  for (const auto& [name, type] : kTypes)
    if (EqualsIgnoringAsciiCase(identifier, name)) return type;
  return XType::Unknown;
}

const char* Describe(const XToken& token) {
  switch (token.kind) {
    case XTokenKind::End: return "the end of the file";
    case XTokenKind::Name: return "a name";
    case XTokenKind::String: return "a string";
    case XTokenKind::Integer:
    case XTokenKind::Float: return "a number";
    case XTokenKind::Guid: return "a GUID";
    case XTokenKind::OpenBrace: return "'{'";
    case XTokenKind::CloseBrace: return "'}'";
    case XTokenKind::Separator: return "a separator";
    case XTokenKind::Template: return "'template'";
    case XTokenKind::Other: return "a stray symbol";
  }
  return "a token";
}

D3DCOLOR ColourByte(float c, int shift) {
  float clamped = c < 0.0f ? 0.0f : (c > 1.0f ? 1.0f : c);
  return static_cast<D3DCOLOR>(clamped * 255.0f + 0.5f) << shift;
}

// Below this much text after a mesh, a second reader of meshes costs more than it saves.
constexpr size_t kMeshesAheadBytes = 256u << 10;

// Items of a long dword list read before a text reader measures the rest.
constexpr size_t kProbeItems = 256;

// A triangle of a face list: its corner count and three indexes.
constexpr size_t kTriangleItemBytes = 16;

// Lets the reader read the later part of a long dword list ahead, and puts it
// back to reading the text when the list is done.
template <class Reader>
class ListAhead {
 public:
  ListAhead(Reader& reader, size_t items) : reader_(reader), items_(items), valuesBefore_(reader.ValuesRead()) {}
  ~ListAhead() { reader_.EndReadAhead(); }
  ListAhead(const ListAhead&) = delete;
  ListAhead& operator=(const ListAhead&) = delete;

  void BeforeItem(size_t item) {
    if (item == kProbeItems) reader_.ReadAhead(valuesBefore_, item, items_ - item);
  }

 private:
  Reader& reader_;
  size_t items_;
  size_t valuesBefore_;
};

// What a child handler did with the object it was offered.
enum class Handled { Parsed, Ignored, Failed };

template <class Reader>
class ObjectParser {
 public:
  ObjectParser(Reader& reader, XMeshBuilder& builder, const std::string& fileName)
      : reader_(reader), builder_(builder), fileName_(fileName),
        referenceBudget_(16 * reader.Size() + (1u << 20)) {}

  XParseOutcome Parse() {
    XParseOutcome outcome;
    outcome.ok = ParseTopLevel();
    outcome.invalidData = invalidData_;
    if (!outcome.ok) outcome.objectPath = ObjectPath();
    outcome.notes = std::move(notes_);
    outcome.meshesReadAhead = meshesReadAhead_;
    return outcome;
  }

 private:
  struct Target {
    XType type;
    size_t body;  // just after the '{' (and GUID) of the object
  };
  // Names are kept as copies, since the bytes they were read from may be
  // given back, and looked up by the views the reader gives.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
  };

  // The name is a copy: the object is recorded by it after its body, when
  // the bytes it was read from may have been given back.
  struct Header {
    std::string name;
    bool hasGuid = false;
    XGuid guid{};
    size_t body = 0;
  };

  template <class... Args>
  bool Invalid(const char* format, Args... args) {
    invalidData_ = true;
    if constexpr (sizeof...(Args) == 0) return reader_.Fail("%s", format);
    else return reader_.Fail(format, args...);
  }

  bool Unexpected(const XToken& token) { return reader_.Fail("unexpected %s", Describe(token)); }

  // The objects the reader stands in, outermost first: "Frame Body/Mesh body/MeshMaterialList".
  std::string ObjectPath() const {
    std::string text;
    for (const std::string& object : path_) text += (text.empty() ? "" : "/") + object;
    return text;
  }

  // An object entered: its identifier and, when it has one, its name (cut at 64 bytes).
  void Enter(std::string_view identifier, std::string_view name) {
    std::string object(identifier.substr(0, 64));
    if (!name.empty()) object.append(" ").append(DisplayText(name.substr(0, 64)));
    path_.push_back(std::move(object));
  }

  void Note(FindingCode code, std::string message) {
    notes_.Add(LoadNote{code, fileName_, reader_.LocationLine(), reader_.Location(), ObjectPath(), std::move(message)});
  }

  bool ParseTopLevel() {
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    for (;;) {
      XToken token;
      size_t start = reader_.Position();
      if (!reader_.Next(token)) return false;
      switch (token.kind) {
        case XTokenKind::End:
          return true;
        case XTokenKind::Template:
          if (!SkipTemplate()) return false;
          break;
        case XTokenKind::Name: {
          XType type = TypeOf(token.text);
          std::string_view identifier = token.text;
          Header header;
          if (!ReadHeader(header)) return false;
          Enter(identifier, header.name);
          Handled handled = Handled::Ignored;
          if (type == XType::Mesh) handled = ParseMesh(identity);
          if (type == XType::Frame) handled = ParseFrame(identity);
          if (!Finish(handled, header, type)) return false;
          path_.pop_back();
          break;
        }
        case XTokenKind::CloseBrace:
          return SurplusClosingBraces(token, start);
        default:
          return Unexpected(token);
      }
    }
  }

  // An old exporter closes its root frame once too often. In text, closing
  // braces with nothing after them are passed over with a note; anything
  // else after them, and any in a binary file, is a fault at the first one,
  // which began at `start`.
  bool SurplusClosingBraces(const XToken& first, size_t start) {
    if constexpr (std::is_same_v<Reader, XTextReader>) {
      unsigned line = reader_.LocationLine();
      std::string place = reader_.Location();
      unsigned count = 1;
      XToken token;
      for (;;) {
        if (!reader_.Next(token)) return false;
        if (token.kind == XTokenKind::End) {
          notes_.Add(LoadNote{FindingCode::kSurplusClosingBraces, fileName_, line, place, "",
                              NoteMessage("%u closing '}' more than the file opened, after its last object; passed over",
                                          count)});
          return true;
        }
        if (token.kind != XTokenKind::CloseBrace) break;
        ++count;
      }
      reader_.Seek(start);
      XToken again;
      if (!reader_.Next(again)) return false;
    }
    return Unexpected(first);
  }

  bool SkipTemplate() {
    XToken token;
    if (!reader_.Next(token)) return false;
    if (token.kind != XTokenKind::Name) return Unexpected(token);
    if (!reader_.Next(token)) return false;
    if (token.kind != XTokenKind::OpenBrace) return Unexpected(token);
    return reader_.SkipBlock();
  }

  // After the identifier: an optional name, '{', an optional GUID.
  bool ReadHeader(Header& header) {
    XToken token;
    if (!reader_.Next(token)) return false;
    if (token.kind != XTokenKind::OpenBrace) {
      if (token.kind == XTokenKind::Name || token.kind == XTokenKind::Integer || token.kind == XTokenKind::Float)
        header.name = token.text;
      else
        return Unexpected(token);
      if (!reader_.Next(token)) return false;
      if (token.kind != XTokenKind::OpenBrace) return Unexpected(token);
    }
    header.body = reader_.Position();
    if (!reader_.Next(token)) return false;
    if (token.kind == XTokenKind::Guid) {
      header.hasGuid = true;
      std::memcpy(header.guid.data(), token.guid, 16);
      header.body = reader_.Position();
    } else {
      reader_.Seek(header.body);
    }
    return true;
  }

  // Skips what the handler ignored and records the object for later references.
  bool Finish(Handled handled, const Header& header, XType type) {
    if (handled == Handled::Failed) return false;
    if (handled == Handled::Ignored && !reader_.SkipBlock()) return false;
    if (referenceDepth_ == 0) Record({type, header.name, header.hasGuid, header.guid, header.body});
    return true;
  }

  // The second reader keeps its records for the main reader, which records
  // them when it takes the mesh they are in.
  void Record(const XObjectRecord& record) {
    if (meshAhead_) {
      meshAhead_->records.push_back(record);
      return;
    }
    if (!record.name.empty()) RecordName(record.name, {record.type, record.body});
    if (record.hasGuid) guids_[record.guid] = {record.type, record.body};
  }

  // Objects of different kinds may share a name; each kind keeps its latest
  // object of that name, the latest of all last.
  void RecordName(std::string_view name, Target target) {
    auto found = names_.find(name);
    if (found == names_.end()) found = names_.emplace(name, std::vector<Target>()).first;
    std::vector<Target>& targets = found->second;
    std::erase_if(targets, [&](const Target& t) { return t.type == target.type; });
    targets.push_back(target);
  }

  // The object a reference by name refers to: the latest of the kind the
  // reference expects, else the latest of any kind. A reference without a
  // name refers by GUID. Null when no object recorded so far answers.
  const Target* Resolve(std::string_view name, const XGuid& guid, XType expected) const {
    if (name.empty()) {
      auto found = guids_.find(guid);
      return found != guids_.end() ? &found->second : nullptr;
    }
    auto found = names_.find(name);
    if (found == names_.end()) return nullptr;
    const std::vector<Target>& targets = found->second;
    auto ofKind = std::find_if(targets.begin(), targets.end(), [&](const Target& t) { return t.type == expected; });
    return ofKind != targets.end() ? &*ofKind : &targets.back();
  }

  // In the second reader: whether the mesh it reads has recorded an object
  // the reference may mean, which the main reader has not recorded yet.
  bool RecordedInMeshAhead(std::string_view name, const XGuid& guid) const {
    return std::any_of(meshAhead_->records.begin(), meshAhead_->records.end(), [&](const XObjectRecord& record) {
      return name.empty() ? record.hasGuid && record.guid == guid : record.name == name;
    });
  }

  // Reads the children of the object whose members were just read, up to its
  // '}'. Each child, inline or referenced, is offered to `handle`, which reads
  // its body including the closing '}' or returns Ignored. A reference by
  // name means an object of kind `referenced` when there is one.
  template <class Handle>
  bool ForEachChild(Handle&& handle, XType referenced = XType::Unknown) {
    if (++depth_ > kXMaxNesting) return reader_.Fail("objects nested more than %d deep", kXMaxNesting);
    deepest_ = std::max(deepest_, depth_);
    for (;;) {
      XToken token;
      if (!reader_.Next(token)) return false;
      if (token.kind == XTokenKind::CloseBrace) break;
      if (token.kind == XTokenKind::Name) {
        XType type = TypeOf(token.text);
        std::string_view identifier = token.text;
        Header header;
        if (!ReadHeader(header)) return false;
        Enter(identifier, header.name);
        if (!Finish(handle(type), header, type)) return false;
        path_.pop_back();
      } else if (token.kind == XTokenKind::OpenBrace) {
        if (!FollowReference(handle, referenced)) return false;
      } else {
        return Unexpected(token);
      }
    }
    --depth_;
    return true;
  }

  // "{ Name }", "{ Name <GUID> }" or "{ <GUID> }": the object read earlier is
  // read again where the reference stands.
  template <class Handle>
  bool FollowReference(Handle&& handle, XType referenced) {
    XToken token;
    std::string_view name;
    XGuid guid{};
    bool hasGuid = false;
    if (!reader_.Next(token)) return false;
    if (token.kind == XTokenKind::Name) {
      name = token.text;
      if (!reader_.Next(token)) return false;
    }
    if (token.kind == XTokenKind::Guid) {
      hasGuid = true;
      std::memcpy(guid.data(), token.guid, 16);
      if (!reader_.Next(token)) return false;
    }
    if (token.kind != XTokenKind::CloseBrace || (name.empty() && !hasGuid)) return Unexpected(token);
    // The names recorded and the object referred to lie behind.
    reader_.RecallReleased();
    const Target* target = Resolve(name, guid, referenced);
    if (meshAhead_) {
      // The second reader knows the objects recorded before it started; the
      // main reader takes its mesh only if each reference leads to the same
      // object there.
      if (!target || RecordedInMeshAhead(name, guid)) return reader_.Fail("a reference, left to the main reader");
      meshAhead_->references.push_back({std::string(name), guid, referenced, target->body});
    }
    if (!target) {
      int length = static_cast<int>(name.size() > 64 ? 64 : name.size());
      return Invalid("reference to an unknown object '%.*s'", length, name.data());
    }
    size_t resume = reader_.Position();
    size_t start = target->body;
    reader_.Seek(start);
    ++referenceDepth_;
    path_.push_back("{" + DisplayText(name.substr(0, 64)) + "}");
    Handled handled = handle(target->type);
    --referenceDepth_;
    if (handled == Handled::Failed) return false;
    path_.pop_back();
    if (handled == Handled::Parsed) {
      referencedBytes_ += reader_.Position() - start;
      if (referencedBytes_ > referenceBudget_) return Invalid("references repeat more data than the file holds");
    }
    reader_.Seek(resume);
    return true;
  }

  bool SkipAllChildren() {
    return ForEachChild([](XType) { return Handled::Ignored; });
  }

  // A count within the model's limit (`left` of it remains), then within what
  // the rest of the file can hold.
  bool CheckCount(uint32_t count, size_t valuesEach, const char* what, uint64_t left, uint32_t limit) {
    if (count > left) return Invalid("%s count %u is more than a model may have (%u in all)", what, count, limit);
    return CheckCount(count, valuesEach, what);
  }

  bool CheckCount(uint32_t count, size_t valuesEach, const char* what) {
    if (!reader_.MayHold(uint64_t{count} * valuesEach))
      return Invalid("%s count %u is larger than the rest of the file can hold", what, count);
    return true;
  }

  bool ReadVectors(std::vector<D3DXVECTOR3>& vectors) {
    static_assert(sizeof(D3DXVECTOR3) == 3 * sizeof(float));
    return reader_.ReadFloats(reinterpret_cast<float*>(vectors.data()), vectors.size() * 3);
  }

  static Handled Result(bool ok) { return ok ? Handled::Parsed : Handled::Failed; }

  Handled ParseFrame(const D3DXMATRIX& parent) {
    D3DXMATRIX world = parent;
    return Result(ForEachChild([&](XType type) {
      switch (type) {
        case XType::FrameTransformMatrix: {
          D3DXMATRIX local;
          if (!ParseTransform(local)) return Handled::Failed;
          D3DXMatrixMultiply(&world, &local, &world);
          return Handled::Parsed;
        }
        case XType::Mesh:
          return ParseMesh(world);
        case XType::Frame:
          return ParseFrame(world);
        default:
          return Handled::Ignored;
      }
    }));
  }

  bool ParseTransform(D3DXMATRIX& local) {
    return reader_.ReadFloats(&local.m[0][0], 16) && SkipAllChildren();
  }

  Handled ParseMesh(const D3DXMATRIX& world) {
    XRawMesh mesh;
    if (!TakeMeshAhead(mesh)) {
      if (!ReadMesh(mesh)) return Handled::Failed;
      StartMeshesAhead(mesh);
    }
    builder_.AddMesh(mesh, world);
    return Handled::Parsed;
  }

  bool ReadMesh(XRawMesh& mesh) {
    if (!ReadMeshMembers(mesh)) return false;
    return ForEachChild([&](XType type) {
      switch (type) {
        case XType::MeshNormals: return Result(ParseNormals(mesh));
        case XType::MeshTextureCoords: return Result(ParseTexCoords(mesh));
        case XType::MeshVertexColors: return Result(ParseColours(mesh));
        case XType::MeshMaterialList: return Result(ParseMaterialList(mesh));
        default: return Handled::Ignored;
      }
    });
  }

  // After a mesh this reader read, in a text file with much more to come: a
  // second reader for the meshes ahead, when this mesh's lists are too short
  // for two halves, so that the file is likely one of many small meshes.
  void StartMeshesAhead(const XRawMesh& mesh) {
    if constexpr (std::is_same_v<Reader, XTextReader>) {
      if (meshesAheadAsked_ || referenceDepth_ > 0 || reader_.Size() - reader_.Position() < kMeshesAheadBytes ||
          mesh.positions.size() * 3 >= reader_.ReadAheadMinimum())
        return;
      // Asked once a load: the answer reads the machine's load.
      meshesAheadAsked_ = true;
      if (!reader_.SecondReaderPays()) return;
      meshesAhead_ = std::make_unique<XMeshesAhead>();
      const uint8_t* text = reader_.Bytes();
      size_t size = reader_.Size(), from = reader_.Position(), longList = reader_.ReadAheadMinimum();
      XInputPager* filePager = reader_.Pager();
      const std::string& fileName = fileName_;
      if (!meshesAhead_->Start([text, size, from, longList, filePager, &fileName, names = names_,
                                guids = guids_](XMeshesAhead& ahead) mutable {
            XSecondReaderPager pager(filePager, from);
            XQuietTextReader reader(text, text + size, &pager);
            reader.SetSecondReader(XTextReader::SecondReader::Never);
            reader.SetReadAheadMinimum(longList);
            reader.Seek(from);
            XMeshBuilder unused;  // its meshes go to the main reader
            ObjectParser second(reader, unused, fileName);
            // What was recorded before it starts, to follow references by.
            second.names_ = std::move(names);
            second.guids_ = std::move(guids);
            second.WalkAhead(ahead);
          }))
        meshesAhead_.reset();
    }
  }

  // The mesh whose members begin here, when the second reader read it, taken
  // with what it recorded; false leaves the mesh to this reader. One that
  // would break a limit of the whole model is read again here, to report it
  // in its place.
  bool TakeMeshAhead(XRawMesh& mesh) {
    if (!meshesAhead_ || referenceDepth_ > 0) return false;
    XMeshAhead ahead;
    if (!meshesAhead_->Take(reader_.Position(), ahead)) return false;
    // Before the mesh's own objects are recorded, as where its references stand.
    for (const XFollowedReference& reference : ahead.references) {
      const Target* target = Resolve(reference.name, reference.guid, reference.expected);
      if (!target || target->body != reference.body) return false;
    }
    uint64_t vertices = modelVertices_ + ahead.mesh.positions.size(), triangles = modelTriangles_ + ahead.triangles;
    if (vertices > kXMaxModelVertices || triangles > kXMaxModelFaces || depth_ + ahead.depth > kXMaxNesting ||
        referencedBytes_ + ahead.referencedBytes > referenceBudget_)
      return false;
    modelVertices_ = vertices;
    modelTriangles_ = triangles;
    referencedBytes_ += ahead.referencedBytes;
    for (const XObjectRecord& record : ahead.records) Record(record);
    reader_.Seek(ahead.end);
    mesh = std::move(ahead.mesh);
    ++meshesReadAhead_;
    return true;
  }

  // The second reader: from where it starts, reads each mesh the main reader
  // has not claimed and passes over every other object, as the main reader
  // does, until it is stopped, the file ends, or it meets what it leaves to
  // the main reader.
  void WalkAhead(XMeshesAhead& ahead) {
    bool claimedLast = false;
    while (!ahead.Stopped()) {
      XToken token;
      if (!reader_.Next(token)) return;
      if (token.kind == XTokenKind::CloseBrace) continue;
      if (token.kind == XTokenKind::OpenBrace) {  // a reference
        if (!reader_.SkipBlock()) return;
        continue;
      }
      if (token.kind != XTokenKind::Name) return;
      XType type = TypeOf(token.text);
      Header header;
      if (!ReadHeader(header)) return;
      if (type == XType::Frame) continue;  // its children follow
      if (type != XType::Mesh) {
        if (!reader_.SkipBlock()) return;
        continue;
      }
      // Every other mesh: the main reader also adds each mesh to the model,
      // and would wait for a second one in a row.
      bool claim = !claimedLast && ahead.Claim(header.body);
      claimedLast = claim;
      if (!claim) {
        if (!reader_.SkipBlock()) return;
        continue;
      }
      XMeshAhead mesh;
      mesh.body = header.body;
      // A mesh of lists long enough for two halves is left to the main
      // reader, whose second reader of lists then has the spare core.
      uint32_t vertexCount = 0;
      if (!reader_.ReadDword(vertexCount) || uint64_t{vertexCount} * 3 >= reader_.ReadAheadMinimum()) {
        ahead.Hand(std::move(mesh));
        return;
      }
      reader_.Seek(header.body);
      deepest_ = depth_ = 0;
      modelVertices_ = modelTriangles_ = 0;
      referencedBytes_ = 0;
      meshAhead_ = &mesh;
      mesh.read = ReadMesh(mesh.mesh) && notes_.Empty();
      meshAhead_ = nullptr;
      mesh.end = reader_.Position();
      mesh.depth = deepest_;
      mesh.triangles = modelTriangles_;
      mesh.referencedBytes = referencedBytes_;
      bool read = mesh.read;
      ahead.Hand(std::move(mesh));
      if (!read) return;
    }
  }

  bool ReadMeshMembers(XRawMesh& mesh) {
    uint32_t vertexCount, faceCount;
    if (!reader_.ReadDword(vertexCount) ||
        !CheckCount(vertexCount, 3, "vertex", kXMaxModelVertices - modelVertices_, kXMaxModelVertices))
      return false;
    modelVertices_ += vertexCount;
    reader_.PrepareReadAhead(uint64_t{vertexCount} * 3);
    mesh.positions.resize(vertexCount);
    if (!ReadVectors(mesh.positions)) return false;
    // Each face is at least one triangle.
    if (!reader_.ReadDword(faceCount) ||
        !CheckCount(faceCount, 4, "face", kXMaxModelFaces - modelTriangles_, kXMaxModelFaces))
      return false;
    mesh.corners.reserve(static_cast<size_t>(faceCount) * 3);
    ListAhead<Reader> ahead(reader_, faceCount);
    for (uint32_t face = 0; face < faceCount; ++face) {
      // As many triangles as keep the model within its limit.
      size_t triangles = TakeTriangles(std::min<uint64_t>(faceCount - face, kXMaxModelFaces - modelTriangles_),
                                       vertexCount, [&](size_t, uint32_t a, uint32_t b, uint32_t c) {
                                         mesh.corners.insert(mesh.corners.end(), {a, b, c});
                                       });
      mesh.AddTriangles(triangles);
      modelTriangles_ += triangles;
      face += static_cast<uint32_t>(triangles);
      if (face == faceCount) break;
      ahead.BeforeItem(face);
      uint32_t size;
      if (!reader_.ReadDword(size)) return false;
      if (size < 3) return Invalid("a face has %u corners; it needs at least 3", size);
      if (!CheckCount(size, 1, "corner")) return false;
      modelTriangles_ += size - 2;
      if (modelTriangles_ > kXMaxModelFaces)
        return Invalid("the faces make more triangles than a model may have (%u in all)", kXMaxModelFaces);
      // A triangle, nearly every face, is read beside the array and appended:
      // growing the array first would fill it with zeros to be overwritten.
      uint32_t triangle[3];
      uint32_t* corners = triangle;
      if (size != 3) {
        mesh.corners.resize(mesh.corners.size() + size);
        corners = &mesh.corners[mesh.corners.size() - size];
      }
      if (!reader_.ReadDwords(corners, size)) return false;
      for (uint32_t i = 0; i < size; ++i)
        if (corners[i] >= vertexCount)
          return Invalid("face index %u is beyond the %u vertices", corners[i], vertexCount);
      if (size == 3) mesh.corners.insert(mesh.corners.end(), {triangle[0], triangle[1], triangle[2]});
      mesh.AddPolygon(size);
    }
    return true;
  }

  // Passes `each(i, a, b, c)` the triangles a, b, c that follow in the
  // integer list in hand, at most `most`, while their corners are below
  // `count`, and returns how many it took. A binary file most often holds
  // all faces in one list; the face that ends the run is read one by one,
  // which reports its fault.
  template <class Each>
  size_t TakeTriangles(uint64_t most, uint32_t count, Each&& each) {
    std::span<const uint8_t> list = reader_.IntegersInHand();
    most = std::min<uint64_t>(most, list.size() / kTriangleItemBytes);
    const uint8_t* item = list.data();
    size_t taken = 0;
    for (; taken < most; ++taken, item += kTriangleItemBytes) {
      uint32_t a = Le32(item + 4), b = Le32(item + 8), c = Le32(item + 12);
      if (Le32(item) != 3 || a >= count || b >= count || c >= count) break;
      each(taken, a, b, c);
    }
    reader_.TakeIntegers(taken * 4);
    return taken;
  }

  bool ParseNormals(XRawMesh& mesh) {
    if (mesh.hasNormals) {
      // The last MeshNormals wins: undo the split of the one before.
      for (uint32_t& corner : mesh.corners) corner = mesh.split.SourceOf(corner);
      mesh.hasNormals = false;
    }
    uint32_t normalCount, faceCount;
    if (!reader_.ReadDword(normalCount) || !CheckCount(normalCount, 3, "normal", kXMaxMeshNormals, kXMaxMeshNormals))
      return false;
    mesh.normals.resize(normalCount);
    if (!ReadVectors(mesh.normals)) return false;
    for (D3DXVECTOR3& normal : mesh.normals) D3DXVec3Normalize(&normal, &normal);
    if (!reader_.ReadDword(faceCount)) return false;
    if (faceCount != mesh.FaceCount())
      return Invalid("MeshNormals has %u faces, the mesh %zu", faceCount, mesh.FaceCount());
    NormalSplitter splitter(mesh.positions.size(), mesh.normals);
    if (!ReadNormalFaces(mesh, normalCount, splitter)) return false;
    mesh.split = splitter.Finish();
    mesh.hasNormals = true;
    return SkipAllChildren();
  }

  bool ReadNormalFaces(XRawMesh& mesh, uint32_t normalCount, NormalSplitter& splitter) {
    std::vector<uint32_t> faceNormals;
    size_t corner = 0;
    ListAhead<Reader> ahead(reader_, mesh.FaceCount());
    for (size_t face = 0; face < mesh.FaceCount(); ++face) {
      if (mesh.AllTriangles()) {  // then three corners a face
        size_t taken =
            TakeTriangles(mesh.FaceCount() - face, normalCount, [&](size_t i, uint32_t a, uint32_t b, uint32_t c) {
              uint32_t* corners = &mesh.corners[corner + i * 3];
              corners[0] = splitter.Assign(corners[0], a);
              corners[1] = splitter.Assign(corners[1], b);
              corners[2] = splitter.Assign(corners[2], c);
            });
        face += taken;
        corner += taken * 3;
      }
      if (face == mesh.FaceCount()) break;
      ahead.BeforeItem(face);
      uint32_t size = mesh.PolygonSize(face), normalSize;
      if (!reader_.ReadDword(normalSize)) return false;
      if (normalSize != size) return Invalid("a MeshNormals face has %u corners, the mesh face %u", normalSize, size);
      faceNormals.resize(size);
      if (!reader_.ReadDwords(faceNormals.data(), size)) return false;
      for (uint32_t index : faceNormals) {
        if (index >= normalCount) return Invalid("normal index %u is beyond the %u normals", index, normalCount);
        mesh.corners[corner] = splitter.Assign(mesh.corners[corner], index);
        ++corner;
      }
    }
    return true;
  }

  bool ParseTexCoords(XRawMesh& mesh) {
    uint32_t count;
    if (!reader_.ReadDword(count) || !CheckCount(count, 2, "texture coordinate")) return false;
    if (count != mesh.positions.size())
      return Invalid("%u texture coordinates for %zu vertices", count, mesh.positions.size());
    mesh.texCoords.resize(static_cast<size_t>(count) * 2);
    return reader_.ReadFloats(mesh.texCoords.data(), mesh.texCoords.size()) && SkipAllChildren();
  }

  bool ParseColours(XRawMesh& mesh) {
    uint32_t count;
    if (!reader_.ReadDword(count) || !CheckCount(count, 5, "vertex colour")) return false;
    mesh.colours.assign(mesh.positions.size(), 0x00FFFFFFu);
    for (uint32_t i = 0; i < count; ++i) {
      uint32_t index;
      float rgba[4];
      if (!reader_.ReadDword(index) || !reader_.ReadFloats(rgba, 4)) return false;
      if (index >= mesh.positions.size())
        return Invalid("vertex colour index %u is beyond the %zu vertices", index, mesh.positions.size());
      mesh.colours[index] =
          ColourByte(rgba[3], 24) | ColourByte(rgba[0], 16) | ColourByte(rgba[1], 8) | ColourByte(rgba[2], 0);
    }
    return SkipAllChildren();
  }

  bool ParseMaterialList(XRawMesh& mesh) {
    uint32_t materialCount, indexCount;
    if (!reader_.ReadDword(materialCount) || !reader_.ReadDword(indexCount)) return false;
    if (!CheckCount(indexCount, 1, "material index")) return false;
    size_t faceCount = mesh.FaceCount();
    if (indexCount > faceCount) return Invalid("%u material indexes for %zu faces", indexCount, faceCount);
    std::vector<uint32_t> faceMaterials(indexCount);
    if (!reader_.ReadDwords(faceMaterials.data(), indexCount)) return false;
    for (uint32_t index : faceMaterials)
      if (materialCount > 0 && index >= materialCount)
        return Invalid("material index %u is beyond the %u materials", index, materialCount);
    std::vector<XMaterial> materials;
    bool ok = ForEachChild([&](XType type) {
      if (type != XType::Material || materialCount == 0) return Handled::Ignored;
      if (materials.size() == materialCount)
        return Result(Invalid("more Material objects than the %u of the material list", materialCount));
      materials.emplace_back();
      return Result(ParseMaterial(materials.back()));
    }, XType::Material);
    if (!ok) return false;
    if (materialCount == 0) return true;  // an empty list changes nothing
    if (materials.size() != materialCount)
      return Invalid("the material list names %u materials but holds %zu", materialCount, materials.size());
    if (indexCount < faceCount) {
      Note(FindingCode::kMaterialIndexesShort,
           NoteMessage("%u material indexes for %zu faces; the last one is repeated", indexCount, faceCount));
      faceMaterials.resize(faceCount, indexCount > 0 ? faceMaterials.back() : 0);
    }
    mesh.faceMaterials = std::move(faceMaterials);
    mesh.materials = std::move(materials);
    return true;
  }

  bool ParseMaterial(XMaterial& material) {
    float values[11];
    if (!reader_.ReadFloats(values, 11)) return false;
    material = MaterialFromFile(values);
    return ForEachChild([&](XType type) {
      if (type != XType::TextureFilename) return Handled::Ignored;
      std::string_view name;
      if (!reader_.ReadString(name)) return Handled::Failed;
      SetTextureName(material, name);
      // Loading it will fail; only here is there a place to name.
      if (material.textureName.empty())
        Note(FindingCode::kTextureNameEmpty, "a texture file name is empty");
      return Result(SkipAllChildren());
    });
  }

  Reader& reader_;
  XMeshBuilder& builder_;
  const std::string& fileName_;
  std::unordered_map<std::string, std::vector<Target>, NameHash, std::equal_to<>> names_;
  std::map<XGuid, Target> guids_;
  int depth_ = 0;
  int referenceDepth_ = 0;
  size_t referencedBytes_ = 0;
  const size_t referenceBudget_;
  std::vector<std::string> path_;  // see ObjectPath
  LoadNotes notes_;
  uint64_t modelVertices_ = 0, modelTriangles_ = 0;  // of the meshes read so far, references included
  bool invalidData_ = false;
  int deepest_ = 0;  // the deepest depth_ reached
  size_t meshesReadAhead_ = 0;
  bool meshesAheadAsked_ = false;
  // Set in the second reader of meshes to the mesh it reads, which keeps the
  // objects recorded and the references followed in it.
  XMeshAhead* meshAhead_ = nullptr;
  // Last, to stop the second reader before anything it reads goes.
  std::unique_ptr<XMeshesAhead> meshesAhead_;
};

}  // namespace

template <class Reader>
XParseOutcome ParseXObjects(Reader& reader, XMeshBuilder& builder, const std::string& fileName) {
  return ObjectParser<Reader>(reader, builder, fileName).Parse();
}

template XParseOutcome ParseXObjects(XTextReader&, XMeshBuilder&, const std::string&);
template XParseOutcome ParseXObjects(XBinaryReader&, XMeshBuilder&, const std::string&);
