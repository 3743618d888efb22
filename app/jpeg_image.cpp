#include "app/jpeg_image.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace wuffel {

namespace {
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void onJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// libjpeg's errors jump back to the setjmp here. This function changes no
// object of its own after it, and holds none with a destructor, so that
// nothing it has is left in an undefined state by the jump: the image
// belongs to the caller, and is whole, or null, when an error comes.
bool decodeInto(jpeg_decompress_struct& info, const QByteArray& data, QImage& image) {
  if (setjmp(reinterpret_cast<ErrorManager*>(info.err)->jump)) return false;
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
               static_cast<unsigned long>(data.size()));
  jpeg_read_header(&info, TRUE);
  if (info.num_components != 3 || info.data_precision != 8) return false;
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
  if (image.isNull()) return false;
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}
}  // namespace

QImage decodeJpeg(const QByteArray& data) {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onJpegError;
  QImage image;
  const bool decoded = decodeInto(info, data, image);
  jpeg_destroy_decompress(&info);
  return decoded ? image.convertToFormat(QImage::Format_RGB32) : QImage();
}

}  // namespace wuffel
