#pragma once
#include <string>

// The ordinary string-list interface: an ordered list of byte strings.
// The row lists and the editor's logical lines both present themselves so.
class TStrings {
public:
    virtual ~TStrings() = default;

    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s) = 0;
    virtual int GetCount() const = 0;
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Add(const std::string& s)
    {
        int n = GetCount();
        Insert(n, s);
        return n;
    }

    // Update blocks nest by a counter; the list is told only at the
    // outermost begin and end.
    void BeginUpdate()
    {
        if (updateCount_ == 0)
            SetUpdateState(true);
        ++updateCount_;
    }
    void EndUpdate()
    {
        if (updateCount_ == 0)
            return;
        --updateCount_;
        if (updateCount_ == 0)
            SetUpdateState(false);
    }
    int UpdateCount() const { return updateCount_; }

protected:
    virtual void SetUpdateState(bool updating) { (void)updating; }

private:
    int updateCount_ = 0;
};

// Holds an update block open for the lifetime of a scope, so that an
// exception cannot leave a list stuck in an update.
class TUpdateBlock {
public:
    explicit TUpdateBlock(TStrings& list) : list_(list) { list_.BeginUpdate(); }
    ~TUpdateBlock() { list_.EndUpdate(); }
    TUpdateBlock(const TUpdateBlock&) = delete;
    TUpdateBlock& operator=(const TUpdateBlock&) = delete;

private:
    TStrings& list_;
};
