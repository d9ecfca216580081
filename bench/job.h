// The common shape of every timed encoder: a job prepared once for one input, then run many times.
#ifndef ECC200_BENCH_JOB_H
#define ECC200_BENCH_JOB_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace bench {

// An 8-bit greyscale picture, 0 black and 255 white, rows top first.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// A symbol as modules, rows top first, 1 dark and 0 light.
struct ModuleMatrix {
    int rows = 0;
    int cols = 0;
    std::vector<std::uint8_t> modules;

    std::uint8_t at(int r, int c) const {
        return modules[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) +
                       static_cast<std::size_t>(c)];
    }
};

// How one encoder did on one input before any timing.
struct Verdict {
    enum class Kind { kCorrect, kCannotEncode, kWrongOutput };
    Kind kind = Kind::kCorrect;
    std::string detail;  // symbol size when correct, the reason otherwise

    static Verdict Correct(std::string size) { return {Kind::kCorrect, std::move(size)}; }
    static Verdict CannotEncode(std::string why) { return {Kind::kCannotEncode, std::move(why)}; }
    static Verdict Wrong(std::string why) { return {Kind::kWrongOutput, std::move(why)}; }
    bool correct() const { return kind == Kind::kCorrect; }
};

// One encoder bound to one input. Run() is what the benchmark times; Verify() checks the output
// of the same path once, before timing.
class Job {
  public:
    virtual ~Job() = default;
    virtual bool Run() = 0;
    virtual Verdict Verify() = 0;
};

using Bytes = std::vector<std::uint8_t>;

// Makes a job of one encoder for one input.
class Encoder {
  public:
    virtual ~Encoder() = default;
    virtual std::string Name() const = 0;
    virtual std::unique_ptr<Job> Prepare(const Bytes& data) const = 0;
};

}  // namespace bench

#endif
