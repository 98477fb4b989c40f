#pragma once
#include <string>

#include "editor/core/TEditorScreenStrings.h"
#include "editor/core/TStrings.h"

class AttachedEditor;

// The editor's logical lines over its row store: with word wrap on, one
// line spans several rows, and this view joins them.
class TEditorStrings : public TStrings {
public:
    explicit TEditorStrings(TEditorScreenStrings& store, AttachedEditor* editor = nullptr)
        : store_(store), editor_(editor)
    {
    }

    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    int GetCount() const override { return store_.LineCount(); }
    void Insert(int index, const std::string& s) override;
    int Add(const std::string& s) override;
    void Delete(int index) override;
    void Clear() override { store_.Clear(); }

    std::string GetTextStr() const { return store_.GetTextStr(); }
    void SetTextStr(std::string_view text);
    // Takes another list's lines; the caret goes below the last.
    void Assign(const TStrings& source);
    TLoadResult LoadFromFile(const std::string& path);

    TEditorScreenStrings& Store() { return store_; }

protected:
    void SetUpdateState(bool updating) override;

private:
    void CheckLine(int index, bool allowEnd) const;
    void ClearSelection();
    void CaretTo(int row, int index);

    TEditorScreenStrings& store_;
    AttachedEditor* editor_;
};
