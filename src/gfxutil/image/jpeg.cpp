#include "gfxutil/image/jpeg.h"

#include <csetjmp>
#include <cstdio>
// clang-format off: jpeglib.h needs <cstdio> first
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace {

// A progressive file can ask for any number of scans, each a pass over the
// whole image; real encoders write a dozen or so.
constexpr int kMaxScans = 256;

struct JpegErrorManager {
  jpeg_error_mgr base;
  jmp_buf jump;
  std::string* error;
};

[[noreturn]] void FailWith(j_common_ptr cinfo, const char* message) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
  *manager->error = message;
  longjmp(manager->jump, 1);
}

[[noreturn]] void OnJpegError(j_common_ptr cinfo) {
  char message[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, message);
  FailWith(cinfo, message);
}

// Warnings about damaged data are tolerated, as decoders commonly do, except
// running out of data: a truncated file is refused rather than padded.
void OnJpegMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) OnJpegError(cinfo);
}

void OnJpegProgress(j_common_ptr cinfo) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (decompress->input_scan_number > kMaxScans) FailWith(cinfo, "too many progressive JPEG scans");
}

struct JpegDecoder {
  jpeg_decompress_struct cinfo;
  JpegErrorManager errors;
  jpeg_progress_mgr progress;
};

// Kept free of objects with destructors: libjpeg leaves it by longjmp on errors.
bool ReadJpegImage(JpegDecoder& decoder, ImageBytes data, DecodedImage& image, std::string& error) {
  jpeg_decompress_struct& cinfo = decoder.cinfo;
  if (setjmp(decoder.errors.jump)) return false;
  jpeg_create_decompress(&cinfo);
  cinfo.progress = &decoder.progress;
  cinfo.mem->max_memory_to_use = static_cast<long>(2 * ImageByteLimit());
  jpeg_mem_src(&cinfo, data.data(), data.size());
  jpeg_read_header(&cinfo, TRUE);
  if (!CheckImageSize(cinfo.image_width, cinfo.image_height, D3DFMT_A8R8G8B8, error)) return false;
  cinfo.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&cinfo);
  if (!AllocateImage(image, cinfo.output_width, cinfo.output_height, D3DFMT_A8R8G8B8, error)) return false;
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = image.bytes.data() + static_cast<size_t>(cinfo.output_scanline) * image.width * 4;
    if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) {
      error = "JPEG decoder stopped early";
      return false;
    }
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

bool IsJpeg(ImageBytes data) { return data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF; }

bool DecodeJpeg(ImageBytes data, DecodedImage& image, std::string& error) {
  if (!IsJpeg(data)) {
    error = "not a JPEG file";
    return false;
  }
  JpegDecoder decoder{};
  decoder.cinfo.err = jpeg_std_error(&decoder.errors.base);
  decoder.errors.base.error_exit = OnJpegError;
  decoder.errors.base.emit_message = OnJpegMessage;
  decoder.errors.error = &error;
  decoder.progress.progress_monitor = OnJpegProgress;
  bool ok = ReadJpegImage(decoder, data, image, error);
  jpeg_destroy_decompress(&decoder.cinfo);
  if (!ok) image = DecodedImage{};
  return ok;
}
