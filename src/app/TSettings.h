#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class TEditorCore;
class TEditorProp;
class TRegistry;

// The program's settings as the main window holds them: read from the
// registry once while the window is created, written back once when it is
// destroyed. Dialogs change only these values (and the editor's own
// properties) in between.
//
// Layout under SettingsKey, every value a string except EditView\setting:
//   Window    Left, Top, Height, Width      decimal text
//   Path      LaTeX, DVIOUT, TOP, OUT       written as "Out" (the same value)
//   Display   RightTree                     "True" or "False"
//   Option    WheelMove, SerchRoot, RenewTree, NonStop   "-1" or "0"
//             BeginMath, EndMath            lines, each followed by CR LF
//   EditView  setting                       binary: the editor property set
//   History   0 .. 4                        reopen history, 0 the most recent
// The shortcuts live under ShortCut, read and written by their own code
// right after these.
//
// A value that is missing gives its default (the initial values of the
// fields below). A number that is not a whole decimal number gives its
// default. A flag is true for a number other than zero or "True", false for
// zero or "False" (any case); other text is a damaged value (EConvertError),
// which Read reports and replaces by the default.
//
// Fields that stand for a control of the main window carry the control's
// name: the window applies them after Read and fills them before Write.
class TSettings {
public:
    static constexpr const char* SettingsKey = "\\Software\\Veltrane\\Scrivlet";
    // Reopen history entries stored.
    static constexpr int HistoryCount = 5;

    // Error texts; %s stands for the offending text or name.
    static constexpr const char* InvalidBooleanText = "'%s' は正しい論理型ではありません";
    static constexpr const char* InvalidTypeText = "'%s' のデータ型が不正です";
    static constexpr const char* CreateKeyFailedText = "キー %s の作成に失敗しました";

    // A stored flag is neither a number nor "True" or "False".
    class EConvertError : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // Window: the main window's normal (restored) position and size, pixels.
    int Left = 100;
    int Top = 100;
    int Height = 480;
    int Width = 640;
    // Path
    std::string LaTeXPath;       // the typesetter; empty: none configured yet
    std::string DviOutPath;      // the DVI viewer
    std::string TopPath;         // compiled instead of the open file when set
    std::string OutCommandPath;  // the external command
    // Display\RightTree: the visibility of the side panel PageStatus and of
    // its splitter Splitter1. Both are read from the value; the value is
    // written from PageStatusVisible.
    bool PageStatusVisible = true;
    bool Splitter1Visible = true;
    // Option
    bool WheelMove = true;
    bool SerchRoot = true;
    bool RenewTree = true;
    // Option\NonStop: the typesetter goes on past errors instead of stopping
    // at its prompt, so that one run lists them all.
    bool NonStopMode = true;
    // Opening and closing math delimiters, paired by index.
    std::vector<std::string> BeginMath = DefaultBeginMath();
    std::vector<std::string> EndMath = DefaultEndMath();
    // The captions of the reopen submenu ReOpen, the most recent first.
    std::vector<std::string> ReOpen;

    // Reads the settings under SettingsKey, in this order: Window, Path,
    // Display, Option, EditView, History. When the EditView key exists,
    // editorPropSetting reads itself from its value "setting" (a missing or
    // empty value reads nothing) and is then given to `editor` (when not
    // null); otherwise both are left as they are. History values 4 to 0 are
    // each put on top of ReOpen by AddHistory, which starts empty.
    //
    // Every value is read on its own: one that cannot be read gets its
    // default, the others are read all the same. Such a value is a flag whose
    // text is not a flag ("'yes' は正しい論理型ではありません"), a value that
    // holds binary data where text belongs ("'Left' のデータ型が不正です"),
    // "setting" stored as text, or a damaged "setting" (EPropertyReadError;
    // editorPropSetting and the editor are then left as they were). Returns
    // one line per such value, naming it ("Display\RightTree: ..."), in
    // reading order; empty when all was read. ERegistryException is raised
    // only when the settings key itself cannot be opened.
    std::vector<std::string> Read(TRegistry& reg, TEditorProp& editorPropSetting, TEditorCore* editor);

    // Writes the settings in this order: Window, Path, EditView, Display,
    // Option, History. For EditView the editor's options are first copied
    // into editorPropSetting (when `editor` is not null). History receives
    // the first HistoryCount entries of ReOpen as "0", "1", ...; values whose
    // numbers are not written are left as they are, and no History key is
    // created when ReOpen is empty. A key that cannot be created raises
    // ERegistryException ("キー \Software\Veltrane\Scrivlet\Window の作成に失敗しました")
    // and nothing after it is written.
    //
    // A value that the last Read could not read is left as it is stored
    // while the setting it stands for still has the default it got then, so
    // that what the user stored is not lost to a default nobody chose; once
    // the setting changes, the value is written as usual.
    void Write(TRegistry& reg, TEditorProp& editorPropSetting, const TEditorCore* editor) const;

    // Opens (creating) the key at `path`; ERegistryException with
    // CreateKeyFailedText when it cannot be created.
    static void OpenKeyForWrite(TRegistry& reg, const std::string& path);

    // Puts `path` on top of the reopen list, removing an entry for the same
    // file by the history's one rule (DocumentPath::Same: the same bytes);
    // an empty path only removes.
    static void AddHistory(std::vector<std::string>& reOpen, const std::string& path);

    static std::vector<std::string> DefaultBeginMath();
    static std::vector<std::string> DefaultEndMath();

private:
    // The values the last Read could not read, as "Subkey\\name" folded to
    // lower case, with the text the default they got is written as. For
    // "setting", the stored form of the editor's options after that Read.
    std::map<std::string, std::string> unread_;
    std::optional<std::vector<uint8_t>> unreadSetting_;
};
