// A progress bar on standard error, drawn only when standard error is a terminal.
#pragma once

#include <cstddef>

namespace ecc200_cli {

class ProgressBar {
  public:
    explicit ProgressBar(std::size_t total);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Shows that done of the total items are finished.
    void Show(std::size_t done);
    // Removes the bar so that the next output starts on a clean line.
    void Finish();

  private:
    std::size_t total_;
    bool enabled_;
    int lastPercent_ = -1;
};

}  // namespace ecc200_cli
