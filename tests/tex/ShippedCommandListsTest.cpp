#include "editor/core/ShiftJisCodec.h"
#include "tex/CharPos.h"
#include "tex/TTeXCommand.h"
#include "../support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// The four candidate lists that ship in commands/, checked byte by byte: they
// are data the program reads as they stand, so a stray byte or a missing
// marker there is a fault a user meets in the completion list.
namespace {

const std::string kCaret(TTeXCommand::CaretMarker);
const std::string kHelp(TTeXCommand::HelpSeparator);
const std::string kBreak(TTeXCommand::LineBreakMarker);

struct ShippedList {
    const char* file;
    std::size_t minimum;
};

const ShippedList kLists[] = {
    {"TeX_Command.txt", 300},
    {"TeX_Command_SP.txt", 60},
    {"TeX_Command_Math.txt", 250},
    {"TeX_Template.txt", 25},
};

std::string ReadBytes(const std::string& file)
{
    std::ifstream in(std::string(SCRIVLET_SHIPPED_COMMANDS) + "/" + file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The entries of a shipped list, as the program loads them.
std::vector<std::string> Lines(const std::string& file)
{
    const TTeXCommand list(SCRIVLET_SHIPPED_COMMANDS, file);
    EXPECT_EQ(list.LoadError(), "") << file;
    return list.Entries();
}

std::string EraseAll(std::string text, std::string_view what)
{
    for (std::size_t at; (at = text.find(what)) != std::string::npos;)
        text.erase(at, what.size());
    return text;
}

std::string CommandPart(const std::string& entry) { return std::string(TTeXCommand::CommandPart(entry)); }
std::string DisplayName(const std::string& entry) { return TTeXCommand::NameOf(entry); }

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

std::set<std::string> Names(const std::string& file)
{
    std::set<std::string> names;
    for (const std::string& entry : Lines(file))
        names.insert(DisplayName(entry));
    return names;
}

TEST(ShippedCommandLists, HoldTheirEntriesOnePerLineEndedByCrLfAndSaveBackUnchanged)
{
    const ScratchFolder scratch("scrivlet-shipped");
    for (const ShippedList& list : kLists) {
        SCOPED_TRACE(list.file);
        const std::string bytes = ReadBytes(list.file);
        ASSERT_FALSE(bytes.empty());
        const std::vector<std::string> lines = Lines(list.file);
        EXPECT_GE(lines.size(), list.minimum);
        // One entry per CR LF, and no other line end: a lone CR or LF would
        // split an entry where the writer of the list did not mean it to.
        EXPECT_EQ(Count(bytes, "\r\n"), lines.size());
        EXPECT_EQ(Count(bytes, "\r") + Count(bytes, "\n"), 2 * lines.size());
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");

        // A list saved without a change is the file it was loaded from.
        scratch.Write(list.file, bytes);
        TTeXCommand copy(scratch.String(), list.file);
        ASSERT_EQ(copy.Entries(), lines);
        ASSERT_EQ(copy.Names().size(), lines.size());
        std::filesystem::remove(scratch.Path() / list.file);
        copy.SaveList();
        EXPECT_TRUE(scratch.Read(list.file) == bytes);
    }
}

TEST(ShippedCommandLists, EveryEntryHasOneCaretMarkerAHelpTextAndOnlyShiftJisCharacters)
{
    for (const ShippedList& list : kLists) {
        for (const std::string& entry : Lines(list.file)) {
            SCOPED_TRACE(std::string(list.file) + ": " + ShiftJisCodec::DecodeToUtf8(entry));
            ASSERT_EQ(Count(entry, kHelp), 1u);
            const std::string command = CommandPart(entry);
            const std::string help = entry.substr(command.size() + kHelp.size());
            EXPECT_EQ(Count(command, kCaret), 1u);
            EXPECT_EQ(Count(help, kCaret), 0u);
            EXPECT_FALSE(EraseAll(help, kBreak).empty());
            EXPECT_FALSE(DisplayName(entry).empty());
            for (std::size_t pos = 0; pos < entry.size();) {
                const auto ch = ShiftJisCodec::DecodeChar(entry, pos);
                const unsigned char byte = static_cast<unsigned char>(entry[pos]);
                if (byte == 0x1B) {
                    ASSERT_LT(pos + 1, entry.size());
                    EXPECT_NE(std::string("chn").find(entry[pos + 1]), std::string::npos)
                        << "ESC followed by " << entry[pos + 1];
                    pos += 2;
                    continue;
                }
                EXPECT_TRUE(ch.valid) << "byte " << pos << " does not decode";
                EXPECT_TRUE(byte >= 0x20 && byte != 0x7F) << "control byte " << int(byte) << " at " << pos;
                pos += ch.bytes;
            }
        }
    }
}

TEST(ShippedCommandLists, NamesAreUniqueAndHoldThePercentOrBackslashTheirFilterLooksFor)
{
    for (const ShippedList& list : kLists) {
        SCOPED_TRACE(list.file);
        const std::vector<std::string> lines = Lines(list.file);
        // The first entry with a name is the one completion inserts: a second
        // one of the same name could never be chosen.
        EXPECT_EQ(Names(list.file).size(), lines.size());
    }
    for (const std::string& entry : Lines("TeX_Template.txt"))
        EXPECT_GT(FirstCharPos('%', DisplayName(entry)), 0) << DisplayName(entry);
    // Completion filters by the text typed from its backslash on: a command
    // name without one would never be offered.
    for (const char* file : {"TeX_Command.txt", "TeX_Command_SP.txt", "TeX_Command_Math.txt"}) {
        for (const std::string& entry : Lines(file))
            EXPECT_GT(FirstCharPos('\\', DisplayName(entry)), 0) << file << ": " << DisplayName(entry);
    }
}

TEST(ShippedCommandLists, EnvironmentsAreClosedInTheTextTheyInsert)
{
    for (const ShippedList& list : kLists) {
        for (const std::string& entry : Lines(list.file)) {
            const std::string command = EraseAll(CommandPart(entry), kCaret);
            SCOPED_TRACE(std::string(list.file) + ": " + ShiftJisCodec::DecodeToUtf8(command));
            std::map<std::string, int> open;
            for (const char* keyword : {"\\begin{", "\\end{"}) {
                const std::string key = keyword;
                for (std::size_t at = command.find(key); at != std::string::npos;
                     at = command.find(key, at + 1)) {
                    const std::size_t close = command.find('}', at + key.size());
                    const std::string name = command.substr(at + key.size(), close - at - key.size());
                    open[name] += key == "\\begin{" ? 1 : -1;
                }
            }
            for (const auto& [name, balance] : open) {
                if (!name.empty()) {  // "\end{}" leaves the name to the writer
                    EXPECT_EQ(balance, 0) << name;
                }
            }
        }
    }
}

TEST(ShippedCommandLists, OfferWhatAJapaneseLaTeXWriterNeeds)
{
    const std::set<std::string> commands = Names("TeX_Command.txt");
    for (const char* name : {"\\label{}", "\\ref{}", "\\pageref{}", "\\cite{}", "\\textgt{}", "\\textmc{}",
                             "\\kanjiskip", "\\xkanjiskip", "\\tate", "\\yoko", "\\\x90\xbc\x97\xef",
                             "\\footnote{}", "\\includegraphics{}", "\\href{}{}", "\\url{}",
                             "\\begin{itemize}", "\\begin{figure}[htbp]", "\\begin{tabular}{}",
                             "\\hspace{}", "\\fbox{}"})
        EXPECT_TRUE(commands.count(name)) << name;

    const std::set<std::string> setup = Names("TeX_Command_SP.txt");
    for (const char* cls : {"{jsarticle}", "{jsbook}", "{jsreport}", "{jarticle}", "{jreport}", "{jbook}",
                            "{jlreq}", "{beamer}"}) {
        bool found = false;
        for (const std::string& name : setup)
            found |= name.rfind("\\documentclass", 0) == 0 && name.find(cls) != std::string::npos;
        EXPECT_TRUE(found) << cls;
    }
    for (const char* name : {"\\usepackage[dvipdfmx]{graphicx}", "\\usepackage[dvipdfmx]{hyperref}",
                             "\\newcommand{\\}{}", "\\renewcommand{\\}{}", "\\newenvironment{}{}{}",
                             "\\setlength{}{}", "\\pagestyle{}"})
        EXPECT_TRUE(setup.count(name)) << name;
    // hyperref under pLaTeX needs pxjahyper for its bookmarks: the entry brings both.
    for (const std::string& entry : Lines("TeX_Command_SP.txt")) {
        if (DisplayName(entry).find("{hyperref}") != std::string::npos) {
            EXPECT_NE(CommandPart(entry).find("{pxjahyper}"), std::string::npos) << DisplayName(entry);
        }
    }

    const std::set<std::string> math = Names("TeX_Command_Math.txt");
    for (const char* name : {"\\alpha", "\\Omega", "\\leq", "\\rightarrow", "\\hat{}", "\\left( \\right)",
                             "\\frac{}{}", "\\sqrt{}", "\\sum_{}^{}", "\\int_{}^{}", "\\mathbb{}",
                             "\\begin{aligned}", "\\begin{cases}", "\\begin{pmatrix}"})
        EXPECT_TRUE(math.count(name)) << name;

    std::string templates;
    for (const std::string& entry : Lines("TeX_Template.txt"))
        templates += CommandPart(entry) + "\n";
    for (const char* text : {"{jsarticle}", "{jsbook}", "\\include{", "{jlreq}", "{beamer}",
                             "\\begin{figure}", "\\begin{table}", "\\begin{tabular}", "\\begin{equation}",
                             "\\begin{align}", "\\begin{itemize}", "\\begin{minipage}", "\\begin{verbatim}",
                             "\\begin{thebibliography}"})
        EXPECT_NE(templates.find(text), std::string::npos) << text;
}

}  // namespace
