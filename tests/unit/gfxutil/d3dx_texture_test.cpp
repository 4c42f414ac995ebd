#include "gfxutil/d3dx_texture.h"

#include <gtest/gtest.h>

#include <cstring>

#include "image_test_support.h"
#include "platform/d3d/memory_device.h"
#include "platform/d3d/texture_budget.h"
#include "recording_device.h"
#include "taken_notes.h"

namespace {

// A 2x2 32-bit top-down bitmap with the given pixels (0xAARRGGBB), row by row.
Bytes Bmp32(uint32_t width, uint32_t height, const std::vector<uint32_t>& pixels) {
  ByteWriter w;
  w.Text("BM").U32(54 + width * height * 4).U32(0).U32(54);
  w.U32(40).U32(width).U32(static_cast<uint32_t>(-static_cast<int32_t>(height))).U16(1).U16(32);
  w.U32(0).U32(width * height * 4).U32(0).U32(0).U32(0).U32(0);
  for (uint32_t p : pixels) w.U32(p);
  return w.bytes;
}

Bytes Dxt1Dds(uint32_t width, uint32_t height) {
  ByteWriter w;
  w.Text("DDS ").U32(124).U32(0x1007).U32(height).U32(width).U32(0).U32(0).U32(1);
  for (int i = 0; i < 11; ++i) w.U32(0);
  w.U32(32).U32(0x4).U32(D3DFMT_DXT1).U32(0).U32(0).U32(0).U32(0).U32(0);
  w.U32(0x1000).U32(0).U32(0).U32(0).U32(0);
  for (uint32_t i = 0; i < (width + 3) / 4 * ((height + 3) / 4); ++i) w.U16(0xF800).U16(0x001F).U32(0x55555555);
  return w.bytes;
}

// Level 0 of a recorded A8R8G8B8 texture as 0xAARRGGBB, row by row.
std::vector<uint32_t> TexturePixels(IDirect3DTexture8* texture) {
  auto* recorded = static_cast<RecordingTexture*>(texture);
  std::vector<uint32_t> pixels;
  for (UINT y = 0; y < recorded->height; ++y) {
    for (UINT x = 0; x < recorded->width; ++x) {
      const uint8_t* p = recorded->bits.data() + y * recorded->layout.pitch + x * 4;
      pixels.push_back(uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0]);
    }
  }
  return pixels;
}

class TextureFromFile : public ::testing::Test {
 protected:
  HRESULT Load(const char* name, IDirect3DTexture8** texture, D3DCOLOR colourKey = 0, UINT mipLevels = 1) {
    return D3DXCreateTextureFromFileExA(&device, name, 0, 0, mipLevels, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                        D3DX_DEFAULT, D3DX_DEFAULT, colourKey, nullptr, nullptr, texture, &notes);
  }
  // The notes of the loads since the last call, one line each; their codes in `codes`.
  std::string TakenNotes() {
    std::string text = NotesText(notes);
    codes.clear();
    for (const LoadNote& note : notes.All()) codes.push_back(note.code);
    notes = LoadNotes();
    return text;
  }

  LoadNotes notes;
  std::vector<FindingCode> codes;

  TempDir dir;
  ScopedCurrentDirectory current{dir.path()};
  RecordingDevice device;
};

TEST_F(TextureFromFile, ArgbTextureInTheManagedPoolAtTheFileSize) {
  const std::vector<uint32_t> pixels = {0xFF102030, 0x80405060, 0x00708090, 0xFFA0B0C0, 0x11223344, 0x55667788};
  dir.Write("wall.bmp", Bmp32(3, 2, pixels));
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(Load("wall.bmp", &texture), D3D_OK);
  ASSERT_NE(texture, nullptr);
  const DeviceCall* create = device.Named("CreateTexture").at(0);
  EXPECT_EQ(create->args, (std::vector<double>{3, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED}));
  EXPECT_EQ(TexturePixels(texture), pixels);
  EXPECT_EQ(static_cast<RecordingTexture*>(texture)->unlockCount, 1);
  EXPECT_EQ(TakenNotes(), "");
  texture->Release();
}

TEST_F(TextureFromFile, WindowsNameFoundIgnoringCase) {
  dir.Write("Tex/Wall.BMP", Bmp32(1, 1, {0xFF00FF00}));
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(Load("tex\\wall.bmp", &texture), D3D_OK);
  EXPECT_EQ(TexturePixels(texture), std::vector<uint32_t>{0xFF00FF00});
  texture->Release();
}

TEST_F(TextureFromFile, DefaultMipLevelsAskForAFullChain) {
  dir.Write("a.bmp", Bmp32(1, 1, {0xFF00FF00}));
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(Load("a.bmp", &texture, 0, D3DX_DEFAULT), D3D_OK);
  EXPECT_EQ(device.Named("CreateTexture").at(0)->Arg(2), 0);
  texture->Release();
}

TEST_F(TextureFromFile, ColourKeyMakesMatchingPixelsTransparentBlack) {
  dir.Write("keyed.bmp", Bmp32(3, 1, {0xFFFF00FF, 0xFFFF00FE, 0x7FFF00FF}));
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(Load("keyed.bmp", &texture, 0xFFFF00FF), D3D_OK);
  EXPECT_EQ(TexturePixels(texture), (std::vector<uint32_t>{0x00000000, 0xFFFF00FE, 0x7FFF00FF}));
  texture->Release();
}

TEST_F(TextureFromFile, LargerThanTheDeviceTakesIsScaledDown) {
  device.caps.MaxTextureWidth = 2;
  device.caps.MaxTextureHeight = 1;
  dir.Write("big.bmp", Bmp32(4, 2, {0xFF000000, 0xFF080808, 0xFFFFFFFF, 0xFFFFFFFF,  //
                                    0xFF101010, 0xFF181818, 0xFFFFFFFF, 0xFFFFFFFF}));
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(Load("big.bmp", &texture), D3D_OK);
  EXPECT_EQ(device.Named("CreateTexture").at(0)->args[0], 2);
  EXPECT_EQ(device.Named("CreateTexture").at(0)->args[1], 1);
  EXPECT_EQ(TexturePixels(texture), (std::vector<uint32_t>{0xFF0C0C0C, 0xFFFFFFFF}));
  texture->Release();
}

TEST_F(TextureFromFile, DxtStaysDxtWhenTheDeviceTakesIt) {
  Bytes file = Dxt1Dds(8, 4);
  dir.Write("blocks.dds", file);
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(Load("blocks.dds", &texture), D3D_OK);
  auto* recorded = static_cast<RecordingTexture*>(texture);
  EXPECT_EQ(recorded->format, D3DFMT_DXT1);
  EXPECT_EQ(recorded->bits, Bytes(file.begin() + 128, file.end()));
  texture->Release();
}

// A device without S3TC: refuses every DXT texture.
class DeviceWithoutDxt : public RecordingDevice {
 public:
  HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                        IDirect3DTexture8** texture) override {
    if (format == D3DFMT_DXT1 || format == D3DFMT_DXT3 || format == D3DFMT_DXT5) {
      *texture = nullptr;
      return D3DERR_NOTAVAILABLE;
    }
    return RecordingDevice::CreateTexture(width, height, levels, usage, format, pool, texture);
  }
};

TEST_F(TextureFromFile, ATextureBeyondTheBudgetIsNotCreatedAndSaysWhy) {
  dir.Write("wall.bmp", Bmp32(4, 2, std::vector<uint32_t>(8, 0xFF000000)));
  IDirect3DDevice8* memoryDevice = CreateMemoryDevice();
  TextureBudgetShare rest;
  ASSERT_TRUE(rest.Take(TextureBudgetLeft() - 31));  // a byte short of the 4x2 texture
  IDirect3DTexture8* texture = nullptr;
  EXPECT_EQ(D3DXCreateTextureFromFileExA(memoryDevice, "wall.bmp", 0, 0, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                         D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture, &notes),
            D3DERR_OUTOFVIDEOMEMORY);
  EXPECT_EQ(texture, nullptr);
  EXPECT_EQ(TakenNotes(), "wall.bmp: texture of 4x2 not created: the textures would take more than the 256 MiB kept "
                          "for them\n");
  memoryDevice->Release();
}

TEST_F(TextureFromFile, DxtExpandedWhenTheDeviceRefusesItOrItIsTooLarge) {
  dir.Write("blocks.dds", Dxt1Dds(4, 4));
  DeviceWithoutDxt plainDevice;
  IDirect3DTexture8* texture = nullptr;
  ASSERT_EQ(D3DXCreateTextureFromFileExA(&plainDevice, "blocks.dds", 0, 0, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                                         D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, &texture),
            D3D_OK);
  EXPECT_EQ(static_cast<RecordingTexture*>(texture)->format, D3DFMT_A8R8G8B8);
  // Indices 1 everywhere: the second endpoint, blue.
  EXPECT_EQ(TexturePixels(texture), std::vector<uint32_t>(16, 0xFF0000FF));
  texture->Release();

  device.caps.MaxTextureWidth = device.caps.MaxTextureHeight = 2;
  ASSERT_EQ(Load("blocks.dds", &texture), D3D_OK);
  EXPECT_EQ(static_cast<RecordingTexture*>(texture)->format, D3DFMT_A8R8G8B8);
  EXPECT_EQ(TexturePixels(texture), std::vector<uint32_t>(4, 0xFF0000FF));
  texture->Release();
}

TEST_F(TextureFromFile, TheSourceInfoTellsWhatTheFileHeldBeforeScaling) {
  dir.Write("wall.bmp", Bmp32(4, 2, std::vector<uint32_t>(8, 0xFF000000)));
  dir.Write("blocks.dds", Dxt1Dds(8, 4));
  device.caps.MaxTextureWidth = device.caps.MaxTextureHeight = 2;
  struct InfoCase {
    const char* name;
    D3DXIMAGE_INFO info;
  };
  const InfoCase cases[] = {
      {"wall.bmp", {4, 2, 1, 1, D3DFMT_A8R8G8B8, D3DRTYPE_TEXTURE, D3DXIFF_BMP}},
      {"blocks.dds", {8, 4, 1, 1, D3DFMT_DXT1, D3DRTYPE_TEXTURE, D3DXIFF_DDS}},
  };
  for (const InfoCase& c : cases) {
    D3DXIMAGE_INFO info{};
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFileExA(&device, c.name, 0, 0, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_DEFAULT,
                                           D3DX_DEFAULT, 0, &info, nullptr, &texture),
              D3D_OK)
        << c.name;
    EXPECT_EQ(texture->GetWidth(), 2u) << c.name;  // scaled to the device's limit
    EXPECT_EQ(std::memcmp(&info, &c.info, sizeof info), 0) << c.name << ": " << info.Width << "x" << info.Height;
    texture->Release();
  }
}

TEST_F(TextureFromFile, FailuresNoteTheFileAndTheReason) {
  IDirect3DTexture8* texture = reinterpret_cast<IDirect3DTexture8*>(1);
  EXPECT_EQ(Load("missing.png", &texture), D3DERR_NOTFOUND);
  EXPECT_EQ(texture, nullptr);
  EXPECT_EQ(TakenNotes(), "missing.png: file not found\n");
  EXPECT_EQ(codes, std::vector<FindingCode>{FindingCode::kTextureNotFound});
  // An empty name is no file to name: the model reader has noted it where it stands.
  EXPECT_EQ(Load("", &texture), D3DERR_NOTFOUND);
  EXPECT_EQ(TakenNotes(), "");

  Bytes cut = Bmp32(2, 2, {1, 2, 3, 4});
  cut.resize(cut.size() - 1);
  dir.Write("cut.bmp", cut);
  EXPECT_EQ(Load("cut.bmp", &texture), D3DXERR_INVALIDDATA);
  EXPECT_EQ(texture, nullptr);
  EXPECT_EQ(TakenNotes(), "cut.bmp: BMP pixel data ends early (truncated file)\n");
  EXPECT_EQ(codes, std::vector<FindingCode>{FindingCode::kTextureUnreadable});
  EXPECT_EQ(device.Count("CreateTexture"), 0u);

  dir.Write("ok.bmp", Bmp32(1, 1, {0}));
  device.createTextureResult = E_OUTOFMEMORY;
  EXPECT_EQ(Load("ok.bmp", &texture), E_OUTOFMEMORY);
  EXPECT_EQ(texture, nullptr);
  EXPECT_EQ(TakenNotes(), "ok.bmp: texture of 1x1 not created (error 0x8007000E)\n");
  EXPECT_EQ(codes, std::vector<FindingCode>{FindingCode::kTextureNotCreated});
  EXPECT_EQ(RecordingTexture::liveCount, 0);
}

}  // namespace
