#pragma once
#include <string>
#include <string_view>

#include "editor/core/TFileExtList.h"
#include "editor/core/TStoreComponent.h"

// A stored component meant for files of certain extensions, which it
// publishes as FileExtList.
class TFileExtComponent : public TStoreComponent {
public:
    TFileExtList& FileExtList() { return fileExtList_; }
    const TFileExtList& FileExtList() const { return fileExtList_; }
    void SetFileExtList(const TFileExtList& value) { fileExtList_.Assign(value); }
    // Whether `ext` (".tex") is in FileExtList, in any case.
    bool HasFileExt(std::string_view ext) const { return fileExtList_.Contains(ext); }

protected:
    void WriteProperties(TPropertyWriter& writer) const override;
    bool ReadProperty(const std::string& name, const TPropertyReader& reader) override;

private:
    TFileExtList fileExtList_;
};
