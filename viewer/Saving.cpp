// Saving what the picture control displays, as a BMP file at the display's
// colour depth or as a JPEG file.
#include <windows.h>

#include <vector>

#include "app/Globals.h"
#include "codecs/BmpWriter.h"
#include "codecs/JpegWriter.h"
#include "core/SaveName.h"
#include "core/SjisText.h"
#include "ui/Dialogs.h"
#include "ui/FilePaths.h"
#include "ui/FileWriting.h"
#include "ui/Handles.h"
#include "ui/Win32Error.h"
#include "viewer/Viewer.h"

namespace {

struct SaveFormat {
  const char* defaultExt;
  const char* extension;
  const char* title;
  const char* filter;
};

const SaveFormat kBmpFormat{"bmp", ".bmp", "名前を付けてBITMAPで保存",
                            "BITMAPファイル( bmp )|*.bmp|全てのファイル( *.* )|*.*"};
const SaveFormat kJpegFormat{"jpg", ".jpg", "名前を付けてJPEGで保存",
                             "JPEGファイル( jpg, jpeg, jpe )|*.jpg;*.jpeg;*.jpe|全てのファイル( *.* )|*.*"};

// The DIB format of the display's colour depth. A palette display gets 24
// bits: its palette belongs to the screen of the moment, not to the picture.
ui::PixelFormat DisplayFormat(const ui::Bitmap& deviceBitmap) {
  BITMAP info{};
  ::GetObjectA(deviceBitmap.Handle(), sizeof info, &info);
  switch (info.bmBitsPixel) {
    case 15:
    case 16: return ui::PixelFormat::Bits16;
    case 32: return ui::PixelFormat::Bits32;
    default: return ui::PixelFormat::Bits24;
  }
}

codecs::PixelLayout LayoutOf(ui::PixelFormat format) {
  return static_cast<codecs::PixelLayout>(ui::BitsPerPixel(format));
}

// The rows of a DIB section from the top, as the encoders read them.
codecs::ConstRowSource RowsOf(const ui::Bitmap& dib) {
  return {dib.ScanLine(0), -static_cast<ptrdiff_t>(dib.Stride())};
}

std::vector<uint8_t> EncodeFile(const ui::Bitmap& dib, bool asBmp) {
  std::vector<uint8_t> bytes;
  const bool encoded =
      asBmp ? codecs::EncodeBmp({dib.Width(), dib.Height(), LayoutOf(dib.Format()), {}}, RowsOf(dib), bytes)
            : codecs::EncodeJpeg(dib.Width(), dib.Height(), RowsOf(dib), bytes);
  // Only a picture beyond the formats' limits or memory that ran out get here.
  if (!encoded) throw ui::Win32Error(ERROR_NOT_ENOUGH_MEMORY);
  return bytes;
}

}  // namespace

void TViewerForm::SaveBmpMenuClick(const ui::MenuItem* sender) {
  const bool asBmp = sender == SaveBmpMenu;
  const SaveFormat& format = asBmp ? kBmpFormat : kJpegFormat;
  SaveDialog.defaultExt = format.defaultExt;
  SaveDialog.title = format.title;
  SaveDialog.filter = format.filter;
  SaveDialog.overwritePrompt = true;
  if (!ui::CurrentDialogs().SaveFile(Handle(), SaveDialog)) return;
  std::string path = SaveDialog.fileName;
  if (const std::optional<std::string> forced = save_name::WithForcedExtension(path, format.extension)) {
    path = *forced;
    SaveDialog.fileName = path;
    // The dialog asked about the name as typed, not about this one.
    if (ui::IsExistingFile(path) &&
        ui::CurrentDialogs().ShowMessage(Handle(), "同名ファイルが存在します。\r\n上書き保存しますか？", "注意！",
                                         MB_OKCANCEL) != IDOK) {
      return;
    }
  }
  WriteDisplayedPicture(path, asBmp);
  const std::string temp = AppDir + "\\temp";
  if (!::SetCurrentDirectoryA(temp.c_str())) ui::ThrowLastError(temp);
  SaveDialog.initialDir = sjis::DirectoryOf(path);
}

// What the picture control shows, at its size, on white where the picture
// does not reach, as the display holds it.
void TViewerForm::WriteDisplayedPicture(const std::string& path, bool asBmp) {
  ui::Bitmap shown;
  shown.SetSize(PicImage.Width(), PicImage.Height());  // display-compatible, filled with white
  PicImage.Picture().Draw(shown.Dc(), 0, 0);
  ui::Bitmap rows;
  rows.Reset(shown.Width(), shown.Height(), asBmp ? DisplayFormat(shown) : ui::PixelFormat::Bits24);
  shown.Draw(rows.Dc(), 0, 0);
  ::GdiFlush();
  ui::WriteWholeFile(path, EncodeFile(rows, asBmp));
}
