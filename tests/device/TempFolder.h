// A fresh program folder under the system's temporary folder, removed afterwards.
#pragma once

#include <filesystem>
#include <string>

#include "tests/fakes/FakeSeams.h"
#include "tests/support/TestFiles.h"

namespace mxc9::testing {

class TempProgramFolder : public FakeProgramFolder {
  public:
    TempProgramFolder() : root_(MakeTemporaryFolder("mxc9")) { path = root_ + Separator(); }
    ~TempProgramFolder() override {
        std::error_code ignored;
        std::filesystem::permissions(NativePath(root_), std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(NativePath(root_), ignored);
    }
    std::string file(const std::string& name) const { return path + name; }
    bool exists(const std::string& name) const {
        return std::filesystem::exists(NativePath(file(name)));
    }
    std::string read(const std::string& name) const { return ReadBytes(file(name)); }
    void write(const std::string& name, const std::string& text) const {
        WriteBytes(file(name), text);
    }

  private:
    std::string root_;
};

}  // namespace mxc9::testing
