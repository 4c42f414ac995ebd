#include "shell/program_options.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

#include "viewer/check_codes.h"

namespace {

constexpr int kPictureWidth = 640, kPictureHeight = 480;

// Every option word the program knows.
constexpr const char* kOptionWords[] = {"-shot",   "-size",  "-check", "-json",  "-ignore", "-night", "-linear",
                                        "-notext", "-log",   "-watch", "-dbf",   "-win",    "-full",  "-2nd"};

bool Is(const char* word, const char* option) { return std::strcmp(word, option) == 0; }

bool IsOptionWord(const char* word) {
  return std::any_of(std::begin(kOptionWords), std::end(kOptionWords), [&](const char* o) { return Is(word, o); });
}

// A side of 1 to kMaxShotSide written in decimal digits, up to `end` (also a count of workers).
bool ParseSide(const char* text, const char* end, int& side) {
  if (text == end || end - text > 4) return false;
  side = 0;
  for (const char* c = text; c < end; ++c) {
    if (*c < '0' || *c > '9') return false;
    side = side * 10 + (*c - '0');
  }
  return side >= 1 && side <= kMaxShotSide;
}

// "WxH", as the thumbnailers write it.
bool ParseSize(const char* text, int& width, int& height) {
  const char* cross = std::strpbrk(text, "xX");
  return cross && ParseSide(text, cross, width) && ParseSide(cross + 1, cross + std::strlen(cross), height);
}

ProgramOptions UsageError(ProgramOptions options, std::string what) {
  options.mode = ProgramMode::kUsageError;
  options.usageError = std::move(what);
  return options;
}

// "-gallery <folder> <out-dir> [-j N] [-log]", argv[1] being "-gallery".
ProgramOptions ParseGalleryOptions(int argc, char** argv) {
  ProgramOptions options;
  constexpr const char* kForm = "-gallery <folder> <out-dir> [-j N]";
  if (argc < 4) return UsageError(options, std::string("-gallery needs a folder and an output directory: ") + kForm);
  options.mode = ProgramMode::kGallery;
  options.galleryFolder = argv[2];
  options.galleryOutput = argv[3];
  for (int i = 4; i < argc; ++i) {
    if (Is(argv[i], "-log")) {
      options.log = true;
      continue;
    }
    if (!Is(argv[i], "-j")) {
      options.warnings.push_back(std::string("-gallery: ") + argv[i] + " ignored (" + kForm + ")");
      continue;
    }
    const char* count = i + 1 < argc ? argv[i + 1] : "";
    if (!ParseSide(count, count + std::strlen(count), options.jobs) || options.jobs > kMaxJobs)
      return UsageError(options, "-j needs a number of workers from 1 to " + std::to_string(kMaxJobs));
    ++i;
  }
  return options;
}

// "CODE[,CODE...]" onto codes; false, with the word that names no code, otherwise.
bool ParseCodes(std::string_view list, std::vector<FindingCode>& codes, std::string& unknown) {
  while (true) {
    size_t comma = list.find(',');
    std::string_view name = list.substr(0, comma);
    const CheckCode* code = CodeNamed(name);
    if (!code) {
      unknown = std::string(name.substr(0, 64));
      return false;
    }
    codes.push_back(code->code);
    if (comma == std::string_view::npos) return true;
    list.remove_prefix(comma + 1);
  }
}

}  // namespace

void FitPicture(int width, int height, int& outWidth, int& outHeight) {
  if (width * kPictureHeight <= height * kPictureWidth) {
    outWidth = width;
    outHeight = std::max(1, (width * kPictureHeight + kPictureWidth / 2) / kPictureWidth);
  } else {
    outHeight = height;
    outWidth = std::max(1, (height * kPictureWidth + kPictureHeight / 2) / kPictureHeight);
  }
}

ProgramOptions ParseProgramOptions(int argc, char** argv) {
  ProgramOptions options;
  for (int i = 1; i < argc; ++i) {
    bool help = Is(argv[i], "-h") || Is(argv[i], "--help");
    if (Is(argv[i], "-checks-doc")) {
      options.mode = ProgramMode::kChecksDoc;
      return options;
    }
    if (!help && !Is(argv[i], "--version")) continue;
    options.mode = help ? ProgramMode::kHelp : ProgramMode::kVersion;
    return options;
  }
  if (argc > 1 && Is(argv[1], "-gallery")) return ParseGalleryOptions(argc, argv);
  if (argc > 1) options.pluginPath = argv[1];
  // The simulator puts the path first. An option word in its place is also
  // read as the option, so that "-check" alone is not taken for a path.
  bool pathIsOption = argc > 1 && IsOptionWord(argv[1]);
  bool shot = false, check = false, sized = false;
  int boxWidth = kPictureWidth, boxHeight = kPictureHeight;
  for (int i = pathIsOption ? 1 : 2; i < argc; ++i) {
    const char* word = argv[i];
    if (Is(word, "-shot")) {
      if (i + 1 == argc) return UsageError(options, "-shot needs the file to write: -shot <out.png>");
      options.shotPath = argv[++i];
      shot = true;
    } else if (Is(word, "-size")) {
      if (i + 1 == argc || !ParseSize(argv[i + 1], boxWidth, boxHeight))
        return UsageError(options, "-size needs <width>x<height>, each side 1 to 4096, e.g. -size 256x256");
      ++i;
      sized = true;
    } else if (Is(word, "-check")) {
      check = true;
    } else if (Is(word, "-json")) {
      options.json = true;
    } else if (Is(word, "-ignore")) {
      std::string unknown;
      if (i + 1 == argc) return UsageError(options, "-ignore needs codes: -ignore CODE[,CODE...]");
      if (!ParseCodes(argv[++i], options.ignoredCodes, unknown))
        return UsageError(options, "-ignore: \"" + unknown + "\" is no code of -check (docs/checks.md lists them)");
    } else if (Is(word, "-night")) {
      options.night = true;
    } else if (Is(word, "-linear")) {
      options.linear = true;
    } else if (Is(word, "-notext")) {
      options.noText = true;
    } else if (Is(word, "-log")) {
      options.log = true;
    } else if (Is(word, "-watch")) {
      options.watch = true;
    } else if (Is(word, "-dbf")) {
      options.logFile = true;
    } else if (Is(word, "-2nd")) {
      options.display.secondAdapter = true;
    } else if (Is(word, "-win")) {
      options.display.windowMode = WindowModeRequest::kWindowed;
    } else if (Is(word, "-full")) {
      // -win wins wherever it stands
      if (options.display.windowMode != WindowModeRequest::kWindowed)
        options.display.windowMode = WindowModeRequest::kFullScreen;
    } else {
      options.warnings.push_back(word[0] == '-'
                                     ? std::string("unknown option ") + word + " ignored (--help lists the options)"
                                     : std::string("argument ") + word + " ignored: the plug-in path comes first");
    }
  }
  if (shot && check) return UsageError(options, "-shot and -check cannot be used together");
  if ((shot || check) && pathIsOption)
    return UsageError(options, "the plug-in path comes first: vondrel-viewer <plug-in path> -check | -shot <out.png>");
  if (sized && !shot) options.warnings.push_back("-size has no effect without -shot");
  if (options.json && !check) options.warnings.push_back("-json has no effect without -check");
  if (!options.ignoredCodes.empty() && !check) options.warnings.push_back("-ignore has no effect without -check");
  if (options.watch && (shot || check))
    options.warnings.push_back(shot ? "-watch has no effect with -shot" : "-watch has no effect with -check");
  if (shot) {
    options.mode = ProgramMode::kShot;
    FitPicture(boxWidth, boxHeight, options.shotWidth, options.shotHeight);
  }
  if (check) options.mode = ProgramMode::kCheck;
  return options;
}
