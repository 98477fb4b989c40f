#pragma once
// A generated Shift-JIS LaTeX document for the benchmarks.
//
// The same seed gives the same bytes on every machine: Japanese prose with
// kanji whose trail byte is 0x5C (表, 能, ソ, 十, 申, 予, 構 ...), hiragana,
// katakana and punctuation; LaTeX commands, environments, inline math and
// % comments; blank lines; and one line of about 10,000 bytes in every
// 2,000. Lines end with CR LF.

#include <iconv.h>

#include "editor/core/ShiftJis.h"
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

// xorshift64*: fast, and the same sequence everywhere.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
    uint64_t Next()
    {
        state_ ^= state_ >> 12;
        state_ ^= state_ << 25;
        state_ ^= state_ >> 27;
        return state_ * 0x2545F4914F6CDD1Dull;
    }
    // Uniform in [0, n).
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>((Next() >> 32) % n); }
    bool Percent(uint32_t p) { return Below(100) < p; }

private:
    uint64_t state_;
};

// Converts between encodings through glibc iconv ("CP932" is Shift-JIS as
// Windows has it). Used to build the generator's word lists once and to hand
// the Qt baselines the same characters whatever codecs Qt was built with.
inline std::string Iconv(std::string_view text, const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    std::string out(text.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* o = out.data();
    size_t outLeft = out.size();
    const size_t r = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1))
        throw std::runtime_error(std::string("cannot convert from ") + from + " to " + to);
    out.resize(out.size() - outLeft);
    return out;
}

inline std::string ToShiftJis(std::string_view utf8) { return Iconv(utf8, "CP932", "UTF-8"); }

// The first character boundary at or after byte `pos` of a row, so that a
// split never cuts a double-byte character.
inline size_t CharBoundaryAtOrAfter(std::string_view row, size_t pos)
{
    size_t i = 0;
    while (i < row.size() && i < pos)
        i += IsLeadByte(static_cast<unsigned char>(row[i])) && i + 1 < row.size() ? 2 : 1;
    return i < row.size() ? i : row.size();
}

struct DocumentShape {
    int lines = 1'000'000;
    int longLineEvery = 2000;  // every n-th line is a long prose line
    size_t longLineBytes = 10'000;
    uint64_t seed = 0x5C1A7E5EEDull;
};

class LatexDocumentGenerator {
public:
    LatexDocumentGenerator()
    {
        for (const char* w : {"表示", "機能", "性能", "表", "ソフトウェア", "十分", "申請", "予測", "構造", "構文",
                              "予定", "ソース", "能力", "代表", "発表", "文書", "組版", "日本語", "数式", "記号",
                              "段落", "定義", "定理", "証明", "図", "関数", "変数", "編集", "入力", "出力",
                              "文字", "漢字", "平仮名", "片仮名", "テキスト", "エディタ", "ファイル", "コマンド",
                              "パッケージ", "クラス", "レイアウト", "フォント", "マクロ", "環境", "参照", "引用",
                              "索引", "行列", "ベクトル", "集合", "写像", "空間", "条件", "結果", "方法"})
            nouns_.push_back(ToShiftJis(w));
        for (const char* w : {"は", "が", "を", "に", "で", "と", "の", "も", "から", "まで", "より", "について",
                              "によって", "として", "では", "への"})
            particles_.push_back(ToShiftJis(w));
        for (const char* w : {"する", "される", "できる", "である", "を示す", "を用いる", "が必要である", "となる",
                              "を考える", "を説明する", "を表す", "が成り立つ", "を構成する", "と予想される"})
            endings_.push_back(ToShiftJis(w));
        for (const char* w : {"$x^2$", "$a_{n}$", "$\\alpha + \\beta$", "$f(x)$", "$\\sum_{i=1}^{n} i$", "LaTeX",
                              "\\TeX{}", "\\textbf{", "\\emph{"})
            inline_.push_back(w);
        comma_ = ToShiftJis("、");
        period_ = ToShiftJis("。");
        openQuote_ = ToShiftJis("「");
        closeQuote_ = ToShiftJis("」");
        indent_ = ToShiftJis("　");
        // The document must hold the bytes that trip up naive code.
        if (ToShiftJis("表") != "\x95\x5C" || ToShiftJis("能") != "\x94\x5C" || ToShiftJis("ソ") != "\x83\x5C")
            throw std::runtime_error("iconv CP932 does not give the expected Shift-JIS bytes");
    }

    std::string Generate(const DocumentShape& shape) const
    {
        Rng rng(shape.seed);
        std::string doc;
        doc.reserve(static_cast<size_t>(shape.lines) * 52 + 4096);
        int line = 0;
        auto end = [&] {
            doc.append("\r\n");
            ++line;
        };
        doc.append("\\documentclass[a4j]{jarticle}\r\n\\usepackage{amsmath}\r\n\\begin{document}");
        line = 2;
        end();
        int nextLong = shape.longLineEvery - 1;
        while (line < shape.lines - 1) {
            if (shape.longLineEvery > 0 && line >= nextLong) {
                nextLong += shape.longLineEvery;
                const size_t start = doc.size();
                while (doc.size() - start < shape.longLineBytes)
                    Sentence(rng, doc, 60);
                end();
                continue;
            }
            const uint32_t kind = rng.Below(100);
            if (kind < 12) {
                end();  // blank line
            } else if (kind < 66) {
                if (rng.Percent(20))
                    doc.append(indent_);
                Sentence(rng, doc, 18 + rng.Below(64));
                end();
            } else if (kind < 74) {
                doc.append(rng.Percent(30) ? "%% " : "% ");
                Sentence(rng, doc, 8 + rng.Below(30));
                end();
            } else if (kind < 77) {
                doc.append(rng.Percent(50) ? "\\section{" : "\\subsection{");
                Noun(rng, doc);
                doc.append(particles_[rng.Below(3)]);
                Noun(rng, doc);
                doc.append("}");
                end();
                if (line < shape.lines - 1) {
                    doc.append("\\label{sec:");
                    Number(doc, line);
                    doc.append("}");
                    end();
                }
            } else if (kind < 83 && line + 3 < shape.lines - 1) {
                doc.append("\\begin{equation}");
                end();
                doc.append(rng.Percent(50) ? "  x^2 + y^2 = z^2 \\label{eq:" : "  \\int_0^1 f(t)\\,dt = \\frac{a}{b} \\label{eq:");
                Number(doc, line);
                doc.append("}");
                end();
                doc.append("\\end{equation}");
                end();
            } else if (kind < 92) {
                doc.append("  \\item ");
                Sentence(rng, doc, 12 + rng.Below(40));
                end();
            } else {
                static constexpr const char* commands[] = {
                    "\\begin{itemize}", "\\end{itemize}", "\\newpage", "\\hline", "\\noindent",
                    "\\includegraphics[width=0.5\\textwidth]{fig/", "\\cite{key", "\\footnote{ref ", "\\ref{eq:"};
                const uint32_t c = rng.Below(9);
                doc.append(commands[c]);
                if (c >= 5) {
                    Number(doc, static_cast<int>(rng.Below(100000)));
                    doc.append(c == 5 ? ".eps}" : "}");
                }
                end();
            }
        }
        doc.append("\\end{document}");
        end();
        return doc;
    }

private:
    static void Number(std::string& doc, int n)
    {
        char buf[16];
        auto r = std::to_chars(buf, buf + sizeof buf, n);
        doc.append(buf, r.ptr);
    }
    void Noun(Rng& rng, std::string& doc) const { doc.append(nouns_[rng.Below(static_cast<uint32_t>(nouns_.size()))]); }

    // Japanese prose of at least `bytes` bytes, ending with 。
    void Sentence(Rng& rng, std::string& doc, size_t bytes) const
    {
        const size_t start = doc.size();
        while (doc.size() - start < bytes) {
            const uint32_t r = rng.Below(100);
            if (r < 6) {
                const std::string& s = inline_[rng.Below(static_cast<uint32_t>(inline_.size()))];
                doc.append(s);
                if (s.back() == '{') {
                    Noun(rng, doc);
                    doc.append("}");
                }
            } else if (r < 10) {
                doc.append(openQuote_);
                Noun(rng, doc);
                doc.append(closeQuote_);
            } else {
                Noun(rng, doc);
            }
            doc.append(particles_[rng.Below(static_cast<uint32_t>(particles_.size()))]);
            if (rng.Percent(15))
                doc.append(comma_);
        }
        doc.append(endings_[rng.Below(static_cast<uint32_t>(endings_.size()))]);
        doc.append(period_);
    }

    std::vector<std::string> nouns_, particles_, endings_, inline_;
    std::string comma_, period_, openQuote_, closeQuote_, indent_;
};

// The longest prefix of `doc` that ends at a line end and is at most `bytes` long.
inline std::string_view PrefixOfLines(std::string_view doc, size_t bytes)
{
    if (bytes >= doc.size())
        return doc;
    const size_t lf = doc.rfind('\n', bytes - 1);
    return doc.substr(0, lf == std::string_view::npos ? 0 : lf + 1);
}

inline void WriteFile(const std::string& path, std::string_view data)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        throw std::runtime_error("cannot write " + path);
    const size_t n = std::fwrite(data.data(), 1, data.size(), f);
    const bool ok = n == data.size() && std::fclose(f) == 0;
    if (!ok)
        throw std::runtime_error("cannot write " + path);
}

// A path for a generated file in the system's temporary folder, unique to this process.
inline std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("scrivlet-bench-" + std::to_string(::getpid()) + "-" + name))
        .string();
}

// FNV-1a over the bytes: printed so that runs can be seen to use the same document.
inline uint64_t Fingerprint(std::string_view data)
{
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : data) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    return h;
}

}  // namespace bench
