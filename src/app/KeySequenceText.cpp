#include "app/KeySequenceText.h"

#include <QString>

#include <array>
#include <string_view>

#include "app/ShortCutText.h"

namespace {

struct NamedKey {
    std::string_view Name;
    Qt::Key Key;
};

constexpr std::array<NamedKey, 15> kNamedKeys = {{
    {"BkSp", Qt::Key_Backspace},
    {"Tab", Qt::Key_Tab},
    {"Enter", Qt::Key_Return},
    {"Esc", Qt::Key_Escape},
    {"Space", Qt::Key_Space},
    {"PgUp", Qt::Key_PageUp},
    {"PgDn", Qt::Key_PageDown},
    {"End", Qt::Key_End},
    {"Home", Qt::Key_Home},
    {"Left", Qt::Key_Left},
    {"Up", Qt::Key_Up},
    {"Right", Qt::Key_Right},
    {"Down", Qt::Key_Down},
    {"Ins", Qt::Key_Insert},
    {"Del", Qt::Key_Delete},
}};

// The Qt key of a listed name in its written form.
Qt::Key KeyOfListedName(const std::string& name)
{
    if (name.size() == 1)  // "A"-"Z" and "0"-"9": Qt's codes are the characters
        return static_cast<Qt::Key>(name.front());
    if (name.front() == 'F' && name.size() <= 3)
        return static_cast<Qt::Key>(Qt::Key_F1 + std::stoi(name.substr(1)) - 1);
    for (const NamedKey& k : kNamedKeys)
        if (k.Name == name)
            return k.Key;
    return Qt::Key_unknown;
}

// The listed name of a Qt key; empty when the key has none.
std::string ListedNameOfKey(Qt::Key key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return std::string(1, static_cast<char>(key));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return "F" + std::to_string(key - Qt::Key_F1 + 1);
    if (key == Qt::Key_Enter)  // the keypad's Enter
        return "Enter";
    for (const NamedKey& k : kNamedKeys)
        if (k.Key == key)
            return std::string(k.Name);
    return {};
}

// Keys that only modify others are no shortcut by themselves.
bool IsModifierKey(Qt::Key key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

QString PlatformName(Qt::Key key) { return QKeySequence(QKeyCombination(key)).toString(QKeySequence::PortableText); }

// The key Qt gives exactly this name, or Key_unknown.
Qt::Key KeyOfPlatformName(const std::string& name)
{
    const QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    // Bytes that are not UTF-8 would come back as U+FFFD, which Qt takes for a key.
    if (text.toStdString() != name)
        return Qt::Key_unknown;
    const QKeySequence parsed = QKeySequence::fromString(text, QKeySequence::PortableText);
    if (parsed.count() != 1 || parsed[0].keyboardModifiers() != Qt::NoModifier)
        return Qt::Key_unknown;
    const Qt::Key key = parsed[0].key();
    if (key == Qt::Key_unknown || IsModifierKey(key))
        return Qt::Key_unknown;
    // Qt's parser is lenient ("F01" is F1); only its own name for the key counts.
    if (PlatformName(key).compare(text, Qt::CaseInsensitive) != 0)
        return Qt::Key_unknown;
    return key;
}

}  // namespace

std::string ShortCutToText(const QKeySequence& sequence)
{
    if (sequence.isEmpty())
        return {};
    const QKeyCombination combination = sequence[0];
    const Qt::Key key = combination.key();
    const Qt::KeyboardModifiers qtModifiers = combination.keyboardModifiers();
    unsigned modifiers = 0;
    if (qtModifiers & Qt::ShiftModifier)
        modifiers |= ShortCutText::Shift;
    if (qtModifiers & Qt::ControlModifier)
        modifiers |= ShortCutText::Ctrl;
    if (qtModifiers & Qt::AltModifier)
        modifiers |= ShortCutText::Alt;
    const std::string listed = ListedNameOfKey(key);
    if (!listed.empty())
        return ShortCutText::Write(modifiers, listed);
    if (key == Qt::Key_unknown || IsModifierKey(key))
        return {};
    // Many keys have no name of their own (Qt then shows a stray character),
    // and "^" would read as Ctrl: write only what reads back as this key.
    const std::string text = ShortCutText::Write(modifiers, PlatformName(key).toStdString());
    const Qt::KeyboardModifiers written = qtModifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (TextToShortCut(text) != QKeySequence(QKeyCombination(written, key)))
        return {};
    return text;
}

std::optional<QKeySequence> TextToShortCut(std::string_view text)
{
    const ShortCutText::Parts parts = ShortCutText::Read(text);
    if (parts.Key.empty()) {
        // A blank text means no shortcut; modifiers alone name no key.
        if (parts.Modifiers == 0)
            return QKeySequence();
        return std::nullopt;
    }
    const Qt::Key key = parts.Listed ? KeyOfListedName(parts.Key) : KeyOfPlatformName(parts.Key);
    if (key == Qt::Key_unknown)
        return std::nullopt;
    Qt::KeyboardModifiers modifiers;
    if (parts.Modifiers & ShortCutText::Shift)
        modifiers |= Qt::ShiftModifier;
    if (parts.Modifiers & ShortCutText::Ctrl)
        modifiers |= Qt::ControlModifier;
    if (parts.Modifiers & ShortCutText::Alt)
        modifiers |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(modifiers, key));
}
