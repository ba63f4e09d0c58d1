#include "carddata/Text.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace velkora {
namespace {

// One iconv conversion, opened once per thread and direction: opening one costs far more than
// converting a short text (a list of 100,000 cards converts a few hundred thousand).
class Conversion {
public:
    Conversion(const char* to, const char* from) : cd_(iconv_open(to, from))
    {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Conversion() { iconv_close(cd_); }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    // The descriptor, back in its initial state.
    iconv_t fresh()
    {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return cd_;
    }

private:
    iconv_t cd_;
};

// Converts with iconv; on an invalid or incomplete sequence the offending byte is skipped and
// `replacement` (already in the target encoding) is written instead.
std::string convert(std::string_view in, Conversion& conversion, std::string_view replacement)
{
    // ASCII is the same in both encodings, and most accounts, ids and dates are nothing else.
    if (std::all_of(in.begin(), in.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(in);
    iconv_t cd = conversion.fresh();
    std::string out;
    out.reserve(in.size() * 2);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        const int error = rc == static_cast<size_t>(-1) ? errno : 0; // before append may touch errno
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (rc == static_cast<size_t>(-1)) {
            if (error == E2BIG)
                continue;
            // EILSEQ or EINVAL: skip one byte and mark the place.
            out.append(replacement);
            ++inPtr;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

} // namespace

std::string utf8ToGb(std::string_view utf8)
{
    thread_local Conversion conversion("GB18030", "UTF-8");
    return convert(utf8, conversion, "?");
}

std::string gbToUtf8(std::string_view gb)
{
    thread_local Conversion conversion("UTF-8", "GB18030");
    return convert(gb, conversion, "\xEF\xBF\xBD");
}

std::size_t gbCharLength(std::string_view text, std::size_t pos)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto isLead = [](unsigned char b) { return b >= 0x81 && b <= 0xFE; };
    const auto isDigit = [](unsigned char b) { return b >= 0x30 && b <= 0x39; };
    const std::size_t left = text.size() - pos;
    if (at(pos) < 0x80 || left < 2)
        return 1;
    if (left >= 4 && isLead(at(pos)) && isDigit(at(pos + 1)) && isLead(at(pos + 2)) && isDigit(at(pos + 3)))
        return 4;
    return 2;
}

} // namespace velkora
