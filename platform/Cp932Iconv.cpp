// Code page 932 through glibc's iconv, whose "CP932" is the Windows mapping.
#include <errno.h>
#include <iconv.h>

#include "platform/Cp932System.h"

namespace mxc9::cp932_system {

namespace {

// One iconv descriptor per direction and thread, opened on first use: opening one costs
// far more than converting a page name.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    size_t convertPrefix(std::string_view input, std::string& output) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return 0;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[1024];
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        while (inLeft > 0) {
            char* out = buffer;
            size_t outLeft = sizeof buffer;
            size_t result = iconv(cd_, &in, &inLeft, &out, &outLeft);
            int error = errno;
            output.append(buffer, static_cast<size_t>(out - buffer));
            // EILSEQ, or EINVAL for a sequence cut off at the end: the prefix ends here.
            if (result == static_cast<size_t>(-1) && error != E2BIG) break;
        }
        return input.size() - inLeft;
    }

  private:
    iconv_t cd_;
};

}  // namespace

size_t Cp932PrefixToUtf8(std::string_view input, std::string& utf8) {
    thread_local Converter converter("UTF-8", "CP932");
    return converter.convertPrefix(input, utf8);
}

size_t Utf8PrefixToCp932(std::string_view input, std::string& cp932) {
    thread_local Converter converter("CP932", "UTF-8");
    return converter.convertPrefix(input, cp932);
}

}  // namespace mxc9::cp932_system
