// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
#pragma once

#include <string>

namespace planora::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Path() + "/" + name.
    std::string File(const std::string& name) const;

private:
    std::string path_;
};

}  // namespace planora::test
