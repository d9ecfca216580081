// A temporary working directory for the run: the BMP output goes there and the marks read their
// user.id from there. The process works inside it until the object is destroyed.
#ifndef ECC200_BENCH_WORKSPACE_H
#define ECC200_BENCH_WORKSPACE_H

#include <filesystem>

namespace bench {

class Workspace {
  public:
    explicit Workspace(const char* userIdentity);
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

  private:
    std::filesystem::path previous_;
    std::filesystem::path directory_;
};

}  // namespace bench

#endif
