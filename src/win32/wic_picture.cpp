// WIC's decoders through a stream on the file: Windows' decoders read the header when they are
// initialised and decode the pixels when they are copied out, so the frame's size is checked in
// between. (Wine's PNG and JPEG decoders decode the whole picture when initialised; there the
// check bounds only the program's own copy.) The pixels are converted to 32-bit BGRA and laid
// over the background here.
#include "win32/wic_picture.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <new>

#include "desktop/file_extension.h"
#include "desktop/picture_limits.h"
#include "win32/wide_text.h"

namespace rsf::win32 {
namespace {

// Holds one reference to a COM object.
template <typename Interface>
class ComReference {
 public:
  ComReference() = default;
  ~ComReference() {
    if (object_ != nullptr) object_->Release();
  }
  ComReference(const ComReference&) = delete;
  ComReference& operator=(const ComReference&) = delete;

  Interface* operator->() const { return object_; }
  Interface* get() const { return object_; }
  Interface** Receive() { return &object_; }
  void** ReceiveVoid() { return reinterpret_cast<void**>(&object_); }

 private:
  Interface* object_ = nullptr;
};

const GUID* ContainerForExtension(const std::string& extension) {
  if (extension == ".bmp") return &GUID_ContainerFormatBmp;
  if (extension == ".gif") return &GUID_ContainerFormatGif;
  if (extension == ".png") return &GUID_ContainerFormatPng;
  if (extension == ".jpg" || extension == ".jpeg") return &GUID_ContainerFormatJpeg;
  return nullptr;
}

bool FileSizeAllowed(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes)) return false;
  if ((attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  const std::uint64_t size = (static_cast<std::uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
  return size > 0 && size <= desktop::kMaxPictureFileBytes;
}

// Straight alpha over an opaque background, channel by channel.
void LayOverBackground(std::vector<std::uint8_t>& pixels, COLORREF background) {
  const unsigned under[3] = {GetBValue(background), GetGValue(background), GetRValue(background)};
  for (std::size_t at = 0; at + 3 < pixels.size(); at += 4) {
    const unsigned alpha = pixels[at + 3];
    if (alpha == 255) continue;
    for (std::size_t channel = 0; channel < 3; ++channel)
      pixels[at + channel] =
          static_cast<std::uint8_t>((pixels[at + channel] * alpha + under[channel] * (255 - alpha) + 127) / 255);
    pixels[at + 3] = 255;
  }
}

// COM on this thread for as long as it lives: the program's apartment, joined once more, or a
// single-threaded one of its own. A thread already in the multithreaded apartment keeps it.
class ComOnThread {
 public:
  ComOnThread() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
  ~ComOnThread() {
    if (SUCCEEDED(result_)) ::CoUninitialize();
  }
  ComOnThread(const ComOnThread&) = delete;
  ComOnThread& operator=(const ComOnThread&) = delete;

 private:
  HRESULT result_;
};

}  // namespace

std::optional<DecodedPicture> DecodePictureFile(const std::string& path, std::uint32_t background) {
  const GUID* container = ContainerForExtension(desktop::LowerExtension(path));
  const std::wstring wide_path = Wide(path);
  if (container == nullptr || !FileSizeAllowed(wide_path)) return std::nullopt;

  const ComOnThread com;
  ComReference<IWICImagingFactory> factory;
  ComReference<IWICStream> stream;
  ComReference<IWICBitmapDecoder> decoder;
  ComReference<IWICBitmapFrameDecode> frame;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.ReceiveVoid())) ||
      FAILED(factory->CreateStream(stream.Receive())) ||
      FAILED(stream->InitializeFromFilename(wide_path.c_str(), GENERIC_READ)) ||
      FAILED(factory->CreateDecoder(*container, nullptr, decoder.Receive())) ||
      FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)) ||
      FAILED(decoder->GetFrame(0, frame.Receive())))
    return std::nullopt;

  DecodedPicture picture;
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || !desktop::PictureSizeAllowed(width, height)) return std::nullopt;
  picture.width = width;
  picture.height = height;

  ComReference<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.Receive())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return std::nullopt;
  // Within the limits, a row's bytes and the whole picture's fit the types WIC takes.
  const UINT stride = width * 4;
  try {
    picture.pixels.resize(static_cast<std::size_t>(stride) * height);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(picture.pixels.size()), picture.pixels.data())))
    return std::nullopt;
  LayOverBackground(picture.pixels, background);
  return picture;
}

}  // namespace rsf::win32
