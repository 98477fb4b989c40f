#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TRegistry.h"

// A registry held in memory and lost with the object. Every root key named
// is a tree of its own, created when first used.
class MemoryRegistry : public TRegistry {
public:
    const std::string& RootKey() const override { return root_; }
    void SetRootKey(const std::string& root) override
    {
        root_ = root;
        current_.clear();
    }

    bool OpenKey(const std::string& key, bool canCreate) override
    {
        std::vector<std::string> path = Resolve(key);
        if (canCreate)
            Create(path);
        else if (!Find(path))
            return false;
        current_ = std::move(path);
        return true;
    }
    void CloseKey() override { current_.clear(); }
    bool KeyExists(const std::string& key) const override { return Find(Resolve(key)) != nullptr; }
    bool DeleteKey(const std::string& key) override
    {
        const std::vector<std::string> path = Resolve(key);
        if (path.empty())
            return false;
        Key* parent = Find({path.begin(), path.end() - 1});
        if (!parent || parent->Keys.erase(path.back()) == 0)
            return false;
        if (current_.size() >= path.size() && std::equal(path.begin(), path.end(), current_.begin(), SameName))
            current_.clear();
        return true;
    }

    bool ValueExists(const std::string& name) const override { return FindValue(name) != nullptr; }
    int64_t GetDataSize(const std::string& name) const override
    {
        const Value* value = FindValue(name);
        return value ? static_cast<int64_t>(value->Data.size()) : -1;
    }
    std::vector<uint8_t> ReadBinaryData(const std::string& name) const override
    {
        const Value* value = FindValue(name);
        if (!value)
            throw ERegistryException("値 '" + name + "' がありません");
        if (!value->Binary)
            throw ERegistryException("'" + name + "' のデータ型が不正です");
        return value->Data;
    }
    void WriteBinaryData(const std::string& name, const std::vector<uint8_t>& data) override
    {
        PutValue(name, Value{true, data});
    }
    std::string ReadString(const std::string& name) const override
    {
        const Value* value = FindValue(name);
        if (!value)
            return {};
        if (value->Binary)
            throw ERegistryException("'" + name + "' のデータ型が不正です");
        return std::string(value->Data.begin(), value->Data.end());
    }
    void WriteString(const std::string& name, const std::string& value) override
    {
        PutValue(name, Value{false, std::vector<uint8_t>(value.begin(), value.end())});
    }

private:
    using NameLess = RegistryNames::NameLess;
    static bool SameName(const std::string& a, const std::string& b) { return RegistryNames::SameName(a, b); }
    struct Value {
        bool Binary = true;
        std::vector<uint8_t> Data;
    };
    struct Key {
        std::map<std::string, std::unique_ptr<Key>, NameLess> Keys;
        std::map<std::string, Value, NameLess> Values;
    };

    std::vector<std::string> Resolve(std::string_view key) const { return RegistryNames::ResolveKeyPath(key, current_); }
    const Key* Find(const std::vector<std::string>& path) const
    {
        auto root = roots_.find(root_);
        if (root == roots_.end())
            return path.empty() ? &empty_ : nullptr;
        const Key* key = &root->second;
        for (const std::string& name : path) {
            auto it = key->Keys.find(name);
            if (it == key->Keys.end())
                return nullptr;
            key = it->second.get();
        }
        return key;
    }
    Key* Find(const std::vector<std::string>& path)
    {
        return const_cast<Key*>(static_cast<const MemoryRegistry*>(this)->Find(path));
    }
    Key& Create(const std::vector<std::string>& path)
    {
        Key* key = &roots_[root_];
        for (const std::string& name : path) {
            std::unique_ptr<Key>& child = key->Keys[name];
            if (!child)
                child = std::make_unique<Key>();
            key = child.get();
        }
        return *key;
    }
    const Value* FindValue(const std::string& name) const
    {
        const Key* key = Find(current_);
        if (!key)
            return nullptr;
        auto it = key->Values.find(name);
        return it == key->Values.end() ? nullptr : &it->second;
    }
    void PutValue(const std::string& name, Value value)
    {
        // The current key always exists: it was opened, and removing it closed it.
        Key& key = Create(current_);
        auto it = key.Values.find(name);
        if (it != key.Values.end())
            it->second = std::move(value);
        else
            key.Values.emplace(name, std::move(value));
    }

    std::string root_ = CurrentUser;
    std::vector<std::string> current_;
    std::map<std::string, Key, NameLess> roots_;
    Key empty_;  // stands for a root that has no keys yet
};
