// A fresh program folder under the system's temporary folder, removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/fakes/FakeSeams.h"

namespace mxc9::testing {

class TempProgramFolder : public FakeProgramFolder {
  public:
    TempProgramFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mxc9-XXXXXX").string();
        root_ = mkdtemp(pattern.data());
        path = root_ + "/";
    }
    ~TempProgramFolder() override {
        std::error_code ignored;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    std::string file(const std::string& name) const { return path + name; }
    bool exists(const std::string& name) const { return std::filesystem::exists(file(name)); }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(file(name), std::ios::binary) << text;
    }

  private:
    std::string root_;
};

}  // namespace mxc9::testing
