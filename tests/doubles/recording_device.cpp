#include "recording_device.h"

#include <cstring>

#include "platform/d3d/vertex_format.h"

namespace {

template <typename T>
T ReadAt(const std::vector<uint8_t>& bytes, size_t offset) {
  T value{};
  if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

// Moves a held reference from `slot` to `object`, as Direct3D does for bound objects.
template <typename T>
void Rebind(T*& slot, T* object) {
  if (object) object->AddRef();
  if (slot) slot->Release();
  slot = object;
}

template <typename T>
int ExtraReferencesOf(T& object) {
  uint32_t now = object.AddRef();
  object.Release();
  return static_cast<int>(now) - 3;  // the one just added, the hidden one, the initial one
}

RecordingDirect3D* factoryDirect3D = nullptr;

IDirect3D8* RecordingFactory(UINT sdkVersion) {
  if (!factoryDirect3D) return nullptr;
  DeviceCall call;
  call.name = "Direct3DCreate8";
  call.args = {static_cast<double>(sdkVersion)};
  factoryDirect3D->calls.push_back(call);
  factoryDirect3D->AddRef();
  return factoryDirect3D;
}

}  // namespace

std::vector<RecordedVertex> DecodeVertices(const DeviceCall& call) {
  std::vector<RecordedVertex> out;
  VertexFormat format = DescribeVertexFormat(call.fvf);
  if (!format.valid) return out;
  size_t stride = call.args.size() > 2 ? static_cast<size_t>(call.args[2]) : format.stride;
  if (stride < format.stride) return out;
  for (size_t base = 0; base + format.stride <= call.vertices.size(); base += stride) {
    RecordedVertex v;
    v.position = ReadAt<D3DVECTOR>(call.vertices, base);
    if (format.pretransformed) v.rhw = ReadAt<float>(call.vertices, base + 12);
    if (format.normalOffset >= 0) v.normal = ReadAt<D3DVECTOR>(call.vertices, base + format.normalOffset);
    if (format.diffuseOffset >= 0) v.diffuse = ReadAt<D3DCOLOR>(call.vertices, base + format.diffuseOffset);
    if (format.texCoordOffset >= 0) {
      v.u = ReadAt<float>(call.vertices, base + format.texCoordOffset);
      v.v = ReadAt<float>(call.vertices, base + format.texCoordOffset + 4);
    }
    out.push_back(v);
  }
  return out;
}

size_t CallRecord::Count(std::string_view name) const {
  size_t count = 0;
  for (const DeviceCall& call : calls) count += call.name == name;
  return count;
}

std::vector<const DeviceCall*> CallRecord::Named(std::string_view name) const {
  std::vector<const DeviceCall*> out;
  for (const DeviceCall& call : calls)
    if (call.name == name) out.push_back(&call);
  return out;
}

std::vector<std::string> CallRecord::Names() const {
  std::vector<std::string> out;
  for (const DeviceCall& call : calls) out.push_back(call.name);
  return out;
}

DeviceCall& CallRecord::Record(const char* name, std::initializer_list<double> args) {
  DeviceCall& call = calls.emplace_back();
  call.name = name;
  call.args = args;
  return call;
}

HRESULT RecordingTexture::UnlockRect(UINT level) {
  HRESULT result = MemoryTexture::UnlockRect(level);
  if (SUCCEEDED(result)) ++unlockCount;
  return result;
}

RecordingDevice::RecordingDevice() {
  AddRef();  // the hidden reference
  caps.DeviceType = D3DDEVTYPE_HAL;
  caps.RasterCaps = D3DPRASTERCAPS_FOGVERTEX | D3DPRASTERCAPS_FOGRANGE;
  caps.TextureCaps = D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
  caps.MaxTextureWidth = caps.MaxTextureHeight = 4096;
  caps.MaxSimultaneousTextures = 4;
  caps.MaxActiveLights = 8;
  caps.MaxPrimitiveCount = 0xFFFFF;
}

RecordingDevice::~RecordingDevice() {
  for (IDirect3DTexture8*& texture : textures) Rebind(texture, static_cast<IDirect3DTexture8*>(nullptr));
  Rebind(streamSource, static_cast<IDirect3DVertexBuffer8*>(nullptr));
  Rebind(indices, static_cast<IDirect3DIndexBuffer8*>(nullptr));
}

int RecordingDevice::ExtraReferences() { return ExtraReferencesOf(*this); }

HRESULT RecordingDevice::TestCooperativeLevel() {
  Record("TestCooperativeLevel", {});
  return cooperativeLevel;
}

UINT RecordingDevice::GetAvailableTextureMem() {
  Record("GetAvailableTextureMem", {});
  return availableTextureMem;
}

HRESULT RecordingDevice::GetDeviceCaps(D3DCAPS8* out) {
  Record("GetDeviceCaps", {});
  if (!out) return D3DERR_INVALIDCALL;
  *out = caps;
  return D3D_OK;
}

HRESULT RecordingDevice::BeginScene() {
  Record("BeginScene", {});
  if (FAILED(beginSceneResult)) return beginSceneResult;
  if (inScene) return D3DERR_INVALIDCALL;
  inScene = true;
  return D3D_OK;
}

HRESULT RecordingDevice::EndScene() {
  Record("EndScene", {});
  if (FAILED(endSceneResult)) return endSceneResult;
  if (!inScene) return D3DERR_INVALIDCALL;
  inScene = false;
  return D3D_OK;
}

HRESULT RecordingDevice::Present(const RECT*, const RECT*, HWND, const void*) {
  Record("Present", {});
  return FAILED(cooperativeLevel) ? cooperativeLevel : presentResult;
}

HRESULT RecordingDevice::Clear(DWORD count, const void*, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) {
  Record("Clear", {static_cast<double>(count), static_cast<double>(flags), static_cast<double>(colour), z,
                   static_cast<double>(stencil)});
  return D3D_OK;
}

HRESULT RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  DeviceCall& call = Record("SetTransform", {static_cast<double>(state)});
  D3DMATRIX* slot = states.Transform(state);
  if (!slot || !matrix) return D3DERR_INVALIDCALL;
  call.matrix = *slot = *matrix;
  return D3D_OK;
}

HRESULT RecordingDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
  Record("GetTransform", {static_cast<double>(state)});
  D3DMATRIX* slot = states.Transform(state);
  if (!slot || !matrix) return D3DERR_INVALIDCALL;
  *matrix = *slot;
  return D3D_OK;
}

HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  Record("SetRenderState", {static_cast<double>(state), static_cast<double>(value)});
  return states.SetRenderState(state, value) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
  Record("GetRenderState", {static_cast<double>(state)});
  return states.GetRenderState(state, value) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  Record("SetTextureStageState", {static_cast<double>(stage), static_cast<double>(type), static_cast<double>(value)});
  return states.SetStageState(stage, type, value) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
  Record("GetTextureStageState", {static_cast<double>(stage), static_cast<double>(type)});
  return states.GetStageState(stage, type, value) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::SetLight(DWORD index, const D3DLIGHT8* light) {
  DeviceCall& call = Record("SetLight", {static_cast<double>(index)});
  if (!light) return D3DERR_INVALIDCALL;
  call.light = *light;
  return states.SetLight(index, *light) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::LightEnable(DWORD index, BOOL enable) {
  Record("LightEnable", {static_cast<double>(index), static_cast<double>(enable)});
  return states.LightEnable(index, enable) ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT RecordingDevice::SetMaterial(const D3DMATERIAL8* material) {
  DeviceCall& call = Record("SetMaterial", {});
  if (!material) return D3DERR_INVALIDCALL;
  call.material = states.material = *material;
  return D3D_OK;
}

HRESULT RecordingDevice::SetTexture(DWORD stage, IDirect3DTexture8* texture) {
  DeviceCall& call = Record("SetTexture", {static_cast<double>(stage)});
  call.object = texture;
  if (stage >= kTextureStageCount) return D3DERR_INVALIDCALL;
  Rebind(textures[stage], texture);
  return D3D_OK;
}

HRESULT RecordingDevice::GetTexture(DWORD stage, IDirect3DTexture8** texture) {
  Record("GetTexture", {static_cast<double>(stage)});
  if (stage >= kTextureStageCount || !texture) return D3DERR_INVALIDCALL;
  *texture = textures[stage];
  if (*texture) (*texture)->AddRef();
  return D3D_OK;
}

HRESULT RecordingDevice::SetClipStatus(const D3DCLIPSTATUS8* status) {
  if (!status) {
    Record("SetClipStatus", {});
    return D3DERR_INVALIDCALL;
  }
  Record("SetClipStatus", {static_cast<double>(status->ClipUnion), static_cast<double>(status->ClipIntersection)});
  states.clipStatus = *status;
  return D3D_OK;
}

HRESULT RecordingDevice::SetVertexShader(DWORD fvf) {
  Record("SetVertexShader", {static_cast<double>(fvf)});
  states.fvf = fvf;
  return D3D_OK;
}

HRESULT RecordingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertices,
                                         UINT stride) {
  DeviceCall& call = Record("DrawPrimitiveUP", {static_cast<double>(type), static_cast<double>(primitiveCount),
                                                static_cast<double>(stride)});
  call.fvf = states.fvf;
  UINT count = VertexCountOf(type, primitiveCount);
  if (!vertices || count == 0 || stride == 0) return D3DERR_INVALIDCALL;
  const uint8_t* bytes = static_cast<const uint8_t*>(vertices);
  call.vertices.assign(bytes, bytes + static_cast<size_t>(count) * stride);
  return D3D_OK;
}

HRESULT RecordingDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                       D3DPOOL pool, IDirect3DTexture8** texture) {
  DeviceCall& call = Record("CreateTexture", {static_cast<double>(width), static_cast<double>(height),
                                              static_cast<double>(levels), static_cast<double>(usage),
                                              static_cast<double>(format), static_cast<double>(pool)});
  if (!texture) return D3DERR_INVALIDCALL;
  *texture = nullptr;
  if (FAILED(createTextureResult)) return createTextureResult;
  TextureLayout layout = DescribeTexture(width, height, format);
  if (!layout.valid) return D3DERR_INVALIDCALL;
  *texture = new RecordingTexture(width, height, FullLevelCount(width, height, levels), format, layout);
  call.object = *texture;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                            IDirect3DVertexBuffer8** buffer) {
  DeviceCall& call = Record("CreateVertexBuffer", {static_cast<double>(length), static_cast<double>(usage),
                                                   static_cast<double>(fvf), static_cast<double>(pool)});
  if (!buffer || length == 0) return D3DERR_INVALIDCALL;
  *buffer = new RecordingVertexBuffer(length);
  call.object = *buffer;
  return D3D_OK;
}

HRESULT RecordingDevice::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                           IDirect3DIndexBuffer8** buffer) {
  DeviceCall& call = Record("CreateIndexBuffer", {static_cast<double>(length), static_cast<double>(usage),
                                                  static_cast<double>(format), static_cast<double>(pool)});
  if (!buffer || length == 0 || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) return D3DERR_INVALIDCALL;
  *buffer = new RecordingIndexBuffer(length, format);
  call.object = *buffer;
  return D3D_OK;
}

HRESULT RecordingDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
  DeviceCall& call = Record("SetStreamSource", {static_cast<double>(stream), static_cast<double>(stride)});
  call.object = buffer;
  if (stream != 0) return D3DERR_INVALIDCALL;
  Rebind(streamSource, buffer);
  streamStride = stride;
  return D3D_OK;
}

HRESULT RecordingDevice::SetIndices(IDirect3DIndexBuffer8* buffer, UINT base) {
  DeviceCall& call = Record("SetIndices", {static_cast<double>(base)});
  call.object = buffer;
  Rebind(indices, buffer);
  baseVertexIndex = base;
  return D3D_OK;
}

HRESULT RecordingDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT numVertices,
                                              UINT startIndex, UINT primitiveCount) {
  DeviceCall& call = Record("DrawIndexedPrimitive",
                            {static_cast<double>(type), static_cast<double>(minIndex), static_cast<double>(numVertices),
                             static_cast<double>(startIndex), static_cast<double>(primitiveCount)});
  call.fvf = states.fvf;
  return streamSource && indices ? D3D_OK : D3DERR_INVALIDCALL;
}

RecordingDirect3D::RecordingDirect3D() { AddRef(); }

RecordingDirect3D::~RecordingDirect3D() {
  if (factoryDirect3D == this) factoryDirect3D = nullptr;
}

int RecordingDirect3D::ExtraReferences() { return ExtraReferencesOf(*this); }

UINT RecordingDirect3D::GetAdapterCount() {
  Record("GetAdapterCount", {});
  return adapterCount;
}

HRESULT RecordingDirect3D::GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER8* identifier) {
  Record("GetAdapterIdentifier", {static_cast<double>(adapter), static_cast<double>(flags)});
  if (adapter >= adapterCount || !identifier) return D3DERR_INVALIDCALL;
  *identifier = {};
  std::strncpy(identifier->Description, adapterDescription.c_str(), sizeof identifier->Description - 1);
  std::strncpy(identifier->Driver, "recording", sizeof identifier->Driver - 1);
  return D3D_OK;
}

UINT RecordingDirect3D::GetAdapterModeCount(UINT adapter) {
  Record("GetAdapterModeCount", {static_cast<double>(adapter)});
  return adapter < adapterCount ? static_cast<UINT>(modes.size()) : 0;
}

HRESULT RecordingDirect3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
  Record("GetAdapterDisplayMode", {static_cast<double>(adapter)});
  if (adapter >= adapterCount || !mode) return D3DERR_INVALIDCALL;
  *mode = currentMode;
  return D3D_OK;
}

HRESULT RecordingDirect3D::EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* out) {
  Record("EnumAdapterModes", {static_cast<double>(adapter), static_cast<double>(mode)});
  if (adapter >= adapterCount || mode >= modes.size() || !out) return D3DERR_INVALIDCALL;
  *out = modes[mode];
  return D3D_OK;
}

HRESULT RecordingDirect3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                                             D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) {
  Record("CheckDeviceFormat", {static_cast<double>(adapter), static_cast<double>(type),
                               static_cast<double>(adapterFormat), static_cast<double>(usage),
                               static_cast<double>(resourceType), static_cast<double>(checkFormat)});
  return depthFormats.count(checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT RecordingDirect3D::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                                  D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) {
  Record("CheckDepthStencilMatch", {static_cast<double>(adapter), static_cast<double>(type),
                                    static_cast<double>(adapterFormat), static_cast<double>(renderTargetFormat),
                                    static_cast<double>(depthStencilFormat)});
  return matchingDepthFormats.count(depthStencilFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT RecordingDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviourFlags,
                                        D3DPRESENT_PARAMETERS* presentation, IDirect3DDevice8** out) {
  DeviceCall& call = Record("CreateDevice", {static_cast<double>(adapter), static_cast<double>(type),
                                             static_cast<double>(reinterpret_cast<uintptr_t>(focusWindow)),
                                             static_cast<double>(behaviourFlags)});
  if (presentation) call.presentation = *presentation;
  HRESULT result = createAttempts_ < createDeviceResults.size() ? createDeviceResults[createAttempts_] : D3D_OK;
  ++createAttempts_;
  if (!out || !presentation) return D3DERR_INVALIDCALL;
  *out = nullptr;
  if (FAILED(result)) return result;
  device.AddRef();
  *out = &device;
  return D3D_OK;
}

ScopedDirect3DFactory::ScopedDirect3DFactory(RecordingDirect3D* direct3d) {
  factoryDirect3D = direct3d;
  SetDirect3DFactory(RecordingFactory);
}

ScopedDirect3DFactory::~ScopedDirect3DFactory() {
  factoryDirect3D = nullptr;
  SetDirect3DFactory(nullptr);
}
