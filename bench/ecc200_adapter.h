// Our library through its public C interface only.
#ifndef ECC200_BENCH_ECC200_ADAPTER_H
#define ECC200_BENCH_ECC200_ADAPTER_H

#include <memory>
#include <optional>
#include <string>

#include "job.h"

namespace bench {

// Which public path of the library a job times.
enum class Ecc200Path {
    kBuffer,       // automatic scheme and square size, module matrix into a buffer
    kSmallest,     // the same with the smallest encodation in place of the look-ahead
    kBmp,          // the same, written as a BMP file into the working directory
    kUserMark,     // module matrix with the user mark on
    kProductMark,  // module matrix with the product mark on
};

class Ecc200Encoder final : public Encoder {
  public:
    explicit Ecc200Encoder(Ecc200Path path) : path_(path) {}
    std::string Name() const override;
    std::unique_ptr<Job> Prepare(const Bytes& data) const override;

  private:
    Ecc200Path path_;
};

// Jobs at one fixed size (an ECC200_SIZE_* value), automatic scheme.
class Ecc200FixedSizeEncoder final : public Encoder {
  public:
    explicit Ecc200FixedSizeEncoder(int sizeIndex) : sizeIndex_(sizeIndex) {}
    std::string Name() const override;
    std::unique_ptr<Job> Prepare(const Bytes& data) const override;

  private:
    int sizeIndex_;
};

// Encodes with automatic scheme and size. The status code and, on success, the chosen size index.
struct Ecc200Probe {
    int status;
    int sizeIndex;
};
Ecc200Probe ProbeEcc200(const Bytes& data);

// The product identifier and the identity file contents the mark jobs use.
extern const char* const kBenchProductId;
extern const char* const kBenchUserIdentity;

}  // namespace bench

#endif
