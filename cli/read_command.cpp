// `ecc200 read` and `ecc200 verify`: each image file loaded, its symbol located, sampled and
// decoded (product mark lifted with --product), and reported as text, JSON lines or a verdict.
#include "read_command.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "ecc200.h"
#include "image_file.h"
#include "reading_report.h"
#include "symbol_reader.h"
#include "tool_error.h"

namespace ecc200_cli {

namespace {

struct ReadOptions {
    std::vector<std::string> files;
    std::optional<std::string> productId;
    std::optional<std::string> identityFile;
    bool json = false;
    bool rasterOnly = false;
};

constexpr const char* kReadFooter =
    "Reads PNG, BMP, JPEG and PGM/PBM/PPM images (Windows: BMP and PGM/PBM/PPM, clean rasters\n"
    "only). Exit status: 0 every file decoded, 1 one did not, 2 bad usage.\n"
    "The user mark is checked against user.id in the current folder, or --identity FILE:\n"
    "valid (every block shows it), partial, absent, or unchecked (no identity).";

constexpr const char* kVerifyFooter =
    "Exit status 0 only when every symbol decodes and shows the user mark of the identity\n"
    "(user.id in the current folder, or --identity FILE), and, with --product, when the product\n"
    "mark was lifted; 1 otherwise, one line per file saying why; 2 bad usage.";

FileReading ReadFile(const std::string& file, const ReadOptions& options) {
    FileReading outcome;
    outcome.file = file;
    outcome.productGiven = options.productId.has_value();
    ecc200_imaging::LoadedImage loaded = ecc200_imaging::LoadImageFile(file);
    if (!loaded.ok()) {
        outcome.problem = loaded.error;
        return outcome;
    }
    ecc200_imaging::ReadRequest request;
    request.productId = options.productId;
    request.identityFile = options.identityFile;
    request.photographs = !options.rasterOnly;
    outcome.reading = ecc200_imaging::ReadImage(loaded.image, request);
    return outcome;
}

// The identity named by --identity must at least be there to read; the library says whether it
// is a usable identity.
std::optional<std::string> IdentityProblem(const ReadOptions& options) {
    if (!options.identityFile) return std::nullopt;
    std::FILE* file = std::fopen(options.identityFile->c_str(), "rb");
    if (file == nullptr) return "cannot open the identity file " + *options.identityFile;
    std::fclose(file);
    return std::nullopt;
}

void AddCommonOptions(CLI::App& app, ReadOptions& options) {
    app.add_option("files", options.files, "Image files to read")->required();
    app.add_option("--product,--product-mark", options.productId,
                   "Lift the product mark of this product identifier before decoding");
    app.add_option("--identity", options.identityFile,
                   "Identity file of the marks (default: user.id in the current folder)");
    app.add_flag("--raster-only", options.rasterOnly,
                 "Locate clean rasters only, not symbols in photographs");
}

int Read(const ReadOptions& options) {
    int exit = kExitOk;
    for (const std::string& file : options.files) {
        const FileReading outcome = ReadFile(file, options);
        std::cout << (options.json ? JsonReport(outcome) : TextReport(outcome));
        if (!outcome.ok()) exit = kExitSymbolFailed;
    }
    return exit;
}

int Verify(const ReadOptions& options) {
    int exit = kExitOk;
    for (const std::string& file : options.files) {
        const std::string failure = VerifyFailure(ReadFile(file, options));
        if (failure.empty()) {
            std::cout << file << ": verified\n";
        } else {
            std::cout << file << ": not verified: " << failure << "\n";
            exit = kExitSymbolFailed;
        }
    }
    return exit;
}

}  // namespace

bool IsReadCommand(std::string_view firstArgument) {
    return firstArgument == "read" || firstArgument == "verify";
}

int RunReadCommand(int argc, char** argv) {
    const bool verify = std::string_view(argv[1]) == "verify";
    CLI::App app{verify ? "ecc200 verify - check the user mark of Data Matrix symbols in images"
                        : "ecc200 read - decode Data Matrix symbols in images",
                 verify ? "ecc200 verify" : "ecc200 read"};
    app.footer(verify ? kVerifyFooter : kReadFooter);
    ReadOptions options;
    AddCommonOptions(app, options);
    if (!verify) app.add_flag("--json", options.json, "One JSON object per file, one a line");
    try {
        app.parse(argc - 1, argv + 1);
    } catch (const CLI::CallForHelp& help) {
        return app.exit(help);
    } catch (const CLI::ParseError& error) {
        std::cerr << "ecc200: " << error.what() << "\nRun '" << app.get_name()
                  << " --help' for the options.\n";
        return kExitUsage;
    }
    if (options.productId &&
        (options.productId->empty() || options.productId->size() > ECC200_MAX_PRODUCT_ID)) {
        std::cerr << "ecc200: --product takes 1 to " << ECC200_MAX_PRODUCT_ID << " characters\n";
        return kExitUsage;
    }
    if (const auto problem = IdentityProblem(options)) {
        std::cerr << "ecc200: " << *problem << "\n";
        return kExitSymbolFailed;
    }
    return verify ? Verify(options) : Read(options);
}

}  // namespace ecc200_cli
