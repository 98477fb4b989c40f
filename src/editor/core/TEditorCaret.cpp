#include "editor/core/TEditorCaret.h"

#include <tuple>

namespace {

auto Fields(const TEditorCaret& c)
{
    return std::make_tuple(c.AutoCursor(), c.AutoIndent(), c.BackSpaceUnIndent(), c.FreeCaret(), c.FreeRow(),
                           c.InTab(), c.KeepCaret(), c.LockScroll(), c.NextLine(), c.PrevSpaceIndent(),
                           c.RowSelect(), c.SelDragMode(), c.SelMove(), c.SoftTab(), c.Style(), c.TabIndent(),
                           c.TabSpaceCount());
}

}  // namespace

void TEditorCaret::Assign(const TEditorCaret& source)
{
    if (Fields(*this) == Fields(source))
        return;
    const auto notify = OnChange;
    OnChange = nullptr;
    autoCursor_ = source.autoCursor_;
    autoIndent_ = source.autoIndent_;
    backSpaceUnIndent_ = source.backSpaceUnIndent_;
    freeCaret_ = source.freeCaret_;
    freeRow_ = source.freeRow_;
    inTab_ = source.inTab_;
    keepCaret_ = source.keepCaret_;
    lockScroll_ = source.lockScroll_;
    nextLine_ = source.nextLine_;
    prevSpaceIndent_ = source.prevSpaceIndent_;
    rowSelect_ = source.rowSelect_;
    selDragMode_ = source.selDragMode_;
    selMove_ = source.selMove_;
    softTab_ = source.softTab_;
    style_ = source.style_;
    tabIndent_ = source.tabIndent_;
    tabSpaceCount_ = source.tabSpaceCount_;
    OnChange = notify;
    Changed();
}
