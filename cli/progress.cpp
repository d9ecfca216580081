#include "progress.h"

#include <cstdio>
#include <string>

#include "platform.h"

namespace ecc200_cli {
namespace {

constexpr int kBarWidth = 40;

}  // namespace

ProgressBar::ProgressBar(std::size_t total)
    : total_(total), enabled_(total > 0 && StandardErrorIsTerminal()) {}

ProgressBar::~ProgressBar() {
    Finish();
}

void ProgressBar::Show(std::size_t done) {
    if (!enabled_) return;
    const int percent = static_cast<int>(done * 100 / total_);
    if (percent == lastPercent_) return;
    lastPercent_ = percent;
    const int filled = percent * kBarWidth / 100;
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
    std::fprintf(stderr, "\r[%s] %3d%% %zu/%zu", bar.c_str(), percent, done, total_);
    std::fflush(stderr);
}

void ProgressBar::Finish() {
    if (!enabled_) return;
    std::fprintf(stderr, "\r\x1b[2K");
    std::fflush(stderr);
    enabled_ = false;
}

}  // namespace ecc200_cli
