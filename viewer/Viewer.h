#pragma once
// The viewer window: the main window, its picture, the file list and the
// popup menu that carries every command of the program.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/Menu.h"
#include "ui/PictureControl.h"
#include "ui/Timer.h"

// Position of the shown entry in the file list, 0-based.
extern int32_t CurrentIndex;
// Length of the file list as last published.
extern int32_t FileCount;
// Mouse moves counted since the pointer was last shown again.
extern int32_t CursorHideCounter;

class TViewerForm : public ui::Form {
 public:
  TViewerForm();
  ~TViewerForm() override;

  ui::PictureControl PicImage;
  ui::ListBox FNameListBox;  // never shown: holds the file list
  ui::Bitmap SourceBitmap;
  ui::Bitmap ErrImage;  // the picture shown for a file that cannot be: never shown itself
  ui::FileDialogOptions OpenDialog;
  ui::FileDialogOptions SaveDialog;
  ui::Timer Timer;  // the slide show's: disabled while the show is stopped

  ui::PopupMenu PopupMenu;
  ui::MenuItem* NextMenu = nullptr;
  ui::MenuItem* PrevMenu = nullptr;
  ui::MenuItem* OpenMenu = nullptr;
  ui::MenuItem* SaveBmpMenu = nullptr;
  ui::MenuItem* SaveJpgMenu = nullptr;
  ui::MenuItem* FullScrMenu = nullptr;
  ui::MenuItem* SizableMenu = nullptr;
  ui::MenuItem* CenterMenu = nullptr;
  ui::MenuItem* OptionMenu = nullptr;
  ui::MenuItem* ControlMenu = nullptr;
  ui::MenuItem* AddAllFiles = nullptr;
  ui::MenuItem* SearchSubDir = nullptr;
  ui::MenuItem* PlugInDirMenu = nullptr;
  ui::MenuItem* MoveMenu = nullptr;
  ui::MenuItem* FolderSubMenu[10] = {};  // F0SubMenu ... F9SubMenu
  ui::MenuItem* SlideShowSubMenu = nullptr;
  ui::MenuItem* SlideShowMenu = nullptr;
  ui::MenuItem* LoopMenu = nullptr;
  ui::MenuItem* ExitMenu = nullptr;

  // 0 not yet shown, 1 windowed or sizable, 2 full screen.
  int32_t ViewState = 0;
  // 1 idle, 2 dragging a selection.
  int32_t MouseMode = 1;
  // 1 whole picture, 2 a zoomed region.
  int32_t ZoomState = 1;
  // Where the left press that began a drag-scroll was, in picture coordinates.
  POINT DragOrigin{};
  // Where the left press that began a selection was, in picture coordinates.
  POINT SelectionAnchor{};
  // The rubber band as last drawn, in picture coordinates; right and bottom exclusive.
  RECT SelectionRect{};

  // Stages of drawing a new picture, as PicImageProgress reports them.
  enum class DrawStage { Start = 0, Running = 1, End = 2 };

  void ExitMenuClick();
  void ControlMenuClick();
  void AddAllFilesClick();
  void SearchSubDirClick();
  void PlugInDirMenuClick();

  // Loading
  void LoadPicture(const std::string& path);
  void LoadWithPlugins(const std::string& path);

  // Intake
  void WMDropFiles(HDROP drop) override;
  void OpenMenuClick();

  // Navigation
  void NextMenuClick();
  void PrevMenuClick();
  void PicImageDblClick();
  // Up and Right step forward, Down and Left back, each only while its command
  // is enabled; every key then hides the pointer.
  void ArrowKeyPressed(WORD key);
  // Makes `index` current, loads its entry and lays it out.
  void ShowEntry(int32_t index);

  // Display modes
  void FullScrMenuClick();
  void SizableMenuClick();
  void CenterMenuClick();

  // Mouse
  void PicImageMouseDown(int button, int x, int y);
  void PicImageDragOver(int x, int y);
  void PicImageMouseMove(int x, int y);
  void PicImageMouseUp(int button, int x, int y);

  // Slide show
  void SlideShowMenuClick();
  void TimerTimer();
  void LoopMenuClick();
  void PicImageProgress(DrawStage stage);
  void UpDownClick();

  // Filing: the sorting folders, the recycle bin, saving what is displayed
  void FileMove(int folder);
  // The recycle-bin and folder buttons of the control window, whose handle owns the shell's windows.
  void RecycleCurrentFile(HWND owner);
  void OpenSortingFolder(HWND owner);
  void SaveBmpMenuClick(const ui::MenuItem* sender);

  // File list
  void AddPath(const std::string& path, bool isFirst);
  void ScanFolder(const std::string& folder);
  void RefillNameMirror();
  void SetViewerCaption(const std::string& text);
  void SetFileCount(int32_t count);
  void EnableFileCommands();
  void UpdateNavigation();

  // Layout
  void LayoutPicture(ui::Bitmap& bitmap);
  void CenterOnWorkArea();
  // Scroll position of the window's own scroll bar (SB_HORZ, SB_VERT), kept in range.
  void SetScrollPosition(int bar, int position);
  int ScrollPosition(int bar) const;

 protected:
  void FormShow() override;
  void FormClose(ui::CloseAction& action) override;
  void FormDestroy() override;
  void FormResize() override;
  void FormScroll(int bar, WORD code) override;
  void FormDblClick() override;
  void FormKeyDown(WORD key) override;
  void FormMouseMove(int x, int y) override;

 private:
  void CreateMenus();
  void CreateMoveAndSlideShowMenus();
  void BindEvents();
  void FormCreate();
  void CreateWorkingFolders();
  void ReadSettings();
  void WriteSettings(bool controlVisible);
  std::string SettingsPath() const;

  void LoadErrorPicture();
  void ShowErrorPicture();
  void ShowLoadError(const std::string& path);
  void LoadThroughPlugins(std::string& path);
  void LoadPluginPicture(int row, const std::string& path);
  void LoadArchiveMember(int row, const std::string& path, int32_t member);
  void ReplaceByMembers(const std::string& path);
  std::string ExtractedMemberPath(int32_t member) const;

  void SetUpOpenDialog();
  void NoteCommandLine();
  void TakeInCommandLine();
  void BeginIntake();
  void ShowNoFile();

  void EnterFullScreen();
  void LeaveFullScreen();
  void LeaveFullScreenForSizable();
  void ReassertWindows();
  void CountMouseMove();
  void DrawSelection();
  void ZoomIntoSelection();

  void LayoutFullScreen(ui::Bitmap& bitmap);
  void ClampToWorkArea(int workWidth, int workHeight);
  void ResetScroll();
  void UpdateScrollBars();
  void HideScrollBars();
  void ScrollPictureIntoPlace();
  static std::string FolderIdentity(const std::string& folder);
  void SetNextEnabled(bool enabled);
  void SetPrevEnabled(bool enabled);
  // The list entry at CurrentIndex; nothing when the index names no entry
  // (an empty list, or -1 while the endless show restarts).
  std::optional<std::string> CurrentEntry() const;

  // A new picture being loaded and laid out: the slide show's timer pauses
  // for the whole of it (no tick may fall inside a load, whose plug-in may run
  // a message loop), and its period starts over once the picture is on screen.
  // Only the outermost of nested scopes reports.
  class DrawingScope {
   public:
    explicit DrawingScope(TViewerForm& viewer);
    ~DrawingScope();
    DrawingScope(const DrawingScope&) = delete;
    DrawingScope& operator=(const DrawingScope&) = delete;

   private:
    TViewerForm& viewer_;
  };

  void WriteDisplayedPicture(const std::string& path, bool asBmp);

  bool controlVisibleSetting_ = true;
  // The command line's paths, made full while the start folder was current.
  std::vector<std::string> commandLinePaths_;
  // Set while an extracted archive member is being loaded.
  bool loadingMember_ = false;
  // The folders that the scan is descending, outermost first, by identity.
  std::vector<std::string> descending_;
  // DrawingScope objects alive.
  int drawingDepth_ = 0;
};

extern TViewerForm* ViewerForm;
