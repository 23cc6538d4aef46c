// Path values: a file path kept as a cleaned directory part and a cleaned name
// part. Any invalid component empties the whole value, so callers test for an
// empty result instead of catching errors.
#pragma once

#include <string>

// One path component. Holds none of <>:"\/|, no leading or trailing blanks and
// no reserved device name; otherwise it is empty.
class CFileName
{
public:
    CFileName() {}
    explicit CFileName(const char* text) { Assign(text); }

    void Assign(const std::string& text);
    void Assign(const char* text) { Assign(std::string(text ? text : "")); }

    const std::string& GetText() const { return m_name; }
    bool IsEmpty() const { return m_name.empty(); }
    bool operator==(const CFileName& other) const;

    bool HasWildcards() const;
    bool HasExtension() const;
    std::string GetBaseName() const;
    void SetBaseName(const std::string& base);
    std::string GetExtension() const;
    void SetExtension(const std::string& ext);

private:
    std::string m_name;
};

// A directory in normal form: components separated by single backslashes after
// an optional root (X:, X:\, \, or \\server\share).
class CDirPath
{
public:
    static const size_t kNoPosition = std::string::npos;

    CDirPath() {}
    explicit CDirPath(const char* text) { Append(std::string(text ? text : "")); }

    const std::string& GetText() const { return m_path; }
    bool IsEmpty() const { return m_path.empty(); }
    bool operator==(const CDirPath& other) const;

    bool HasDrive() const;
    bool IsUNC() const;
    bool IsAbsolute() const;
    bool IsRoot() const;
    size_t FindRootEnd() const;
    bool RemoveLast();
    CFileName GetLast() const;
    void Append(const std::string& text);

private:
    size_t RootLength() const;
    size_t FindLastSeparatorAfter(size_t rootEnd) const;
    void SetRootFromText(const std::string& text, size_t& pos);
    bool AppendComponent(const std::string& component);
    bool EndsInSeparator() const;

    std::string m_path;
};

class CFilePath
{
public:
    CFilePath() {}
    explicit CFilePath(const CDirPath& dir);
    explicit CFilePath(const CFileName& name);
    CFilePath(const CDirPath& dir, const CFileName& name);

    const char* GetFullPath() const { return m_full.c_str(); }
    const CDirPath& GetDir() const { return m_dir; }
    const CFileName& GetName() const { return m_name; }
    std::string GetExtension() const { return m_name.GetExtension(); }
    bool IsEmpty() const { return m_full.empty(); }

    void Clear();
    void Rebuild();
    void SetName(const CFileName& name);
    void SetDir(const CDirPath& dir);
    void Append(const std::string& text);
    void Append(const char* text) { Append(std::string(text ? text : "")); }
    bool operator==(const CFilePath& other) const;
    void Dump() const;

private:
    CDirPath m_dir;
    CFileName m_name;
    std::string m_full;
};
