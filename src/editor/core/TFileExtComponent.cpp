#include "editor/core/TFileExtComponent.h"

#include "editor/core/TPropertyReader.h"
#include "editor/core/TPropertyWriter.h"

void TFileExtComponent::WriteProperties(TPropertyWriter& writer) const
{
    TStoreComponent::WriteProperties(writer);
    if (fileExtList_.Count() > 0)
        writer.WriteStrings("FileExtList", fileExtList_.Items());
}

bool TFileExtComponent::ReadProperty(const std::string& name, const TPropertyReader& reader)
{
    if (TStoreComponent::ReadProperty(name, reader))
        return true;
    if (name != "FileExtList")
        return false;
    fileExtList_.Assign(reader.ReadStrings());
    return true;
}
