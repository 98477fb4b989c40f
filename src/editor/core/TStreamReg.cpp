#include "editor/core/TStreamReg.h"

#include "platform/TRegistry.h"

namespace {

// Switches to the root for a scope; closes the key and restores the root
// on the way out.
class RootScope {
public:
    RootScope(TRegistry& reg, const std::string& root) : reg_(reg), previous_(reg.RootKey())
    {
        if (!root.empty())
            reg_.SetRootKey(root);
    }
    ~RootScope()
    {
        reg_.CloseKey();
        if (reg_.RootKey() != previous_)
            reg_.SetRootKey(previous_);
    }
    RootScope(const RootScope&) = delete;
    RootScope& operator=(const RootScope&) = delete;

private:
    TRegistry& reg_;
    std::string previous_;
};

}  // namespace

void TStreamReg::WriteStream(const std::vector<uint8_t>& bytes, TRegistry& reg, const std::string& rootKey,
                             const std::string& subKey, const std::string& valueName)
{
    RootScope scope(reg, rootKey);
    if (!reg.OpenKey(subKey, true))
        throw ERegistryException("キー " + subKey + " の作成に失敗しました");
    reg.WriteBinaryData(valueName, bytes);
}

bool TStreamReg::ReadStream(std::vector<uint8_t>& bytes, TRegistry& reg, const std::string& rootKey,
                            const std::string& subKey, const std::string& valueName)
{
    RootScope scope(reg, rootKey);
    if (!reg.OpenKey(subKey, true))
        return false;
    if (reg.GetDataSize(valueName) < 0)
        return false;
    bytes = reg.ReadBinaryData(valueName);
    return true;
}
