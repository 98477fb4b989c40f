#include "build/ConsoleDecoder.h"

#include "editor/core/ShiftJis.h"
#include "editor/core/ShiftJisCodec.h"

std::string ConsoleDecoder::Decode(std::string_view bytes)
{
    std::string text;
    std::size_t start = 0;
    // Line breaks are cut out here, so that the codec sees only the text
    // between them; a CR or LF is never the second byte of a character.
    for (std::size_t i = 0; i < bytes.size();) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            text += ShiftJisCodec::DecodeToPlainUtf8(bytes.substr(start, i - start));
            if (c == '\r' || !afterCr_)
                text += '\n';
            afterCr_ = c == '\r';
            start = ++i;
            continue;
        }
        afterCr_ = false;
        i += CharLength(bytes, i);
    }
    text += ShiftJisCodec::DecodeToPlainUtf8(bytes.substr(start));
    return text;
}

std::string ConsoleDecoder::Feed(std::string_view bytes)
{
    pending_.append(bytes);
    std::size_t complete = 0;
    while (complete < pending_.size()) {
        const int n = CharLength(pending_, complete);
        // A lead byte at the very end may yet get its trail byte.
        if (n == 1 && complete + 1 == pending_.size() && IsLeadByte(static_cast<unsigned char>(pending_[complete])))
            break;
        complete += n;
    }
    const std::string text = Decode(std::string_view(pending_).substr(0, complete));
    pending_.erase(0, complete);
    return text;
}

std::string ConsoleDecoder::Finish()
{
    const std::string text = Decode(pending_);
    pending_.clear();
    return text;
}
