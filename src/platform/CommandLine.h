#pragma once
#include <string>
#include <vector>

namespace tavlin {

// The program's arguments as UTF-8, the form every text has inside the program. On Windows the
// narrow argv a C runtime hands to main is in the ANSI code page, which cannot hold a folder named
// in another script (a Cyrillic name on a Chinese system) and which the program would take for
// UTF-8; there the arguments come from the wide command line instead. On Linux they are the bytes
// given, as the file system takes them.
class Utf8Arguments {
  public:
    explicit Utf8Arguments(std::vector<std::string> arguments);
    Utf8Arguments(int argc, char** argv);
#ifdef _WIN32
    Utf8Arguments(int argc, wchar_t** argv);  // wmain's
    // The process's own command line (GetCommandLineW, split as CommandLineToArgvW does), for a
    // program whose main is called with the narrow arguments (a Qt windowed program).
    static Utf8Arguments OfProcess();
#endif
    Utf8Arguments(const Utf8Arguments&) = delete;
    Utf8Arguments& operator=(const Utf8Arguments&) = delete;

    // For functions that take (argc, argv) and may remove arguments from them: argv[argc] is
    // null, and the texts live as long as this object.
    int& argc() {
        return argc_;
    }
    char** argv() {
        return pointers_.data();
    }
    // The arguments as given, the program first.
    const std::vector<std::string>& all() const {
        return texts_;
    }

  private:
    std::vector<std::string> texts_;
    std::vector<char*> pointers_;
    int argc_ = 0;
};

// Windows: a console the program writes to shows its UTF-8 texts (Chinese and Cyrillic alike)
// rather than reading them in its own code page; the console's code page is given back when the
// program ends. Elsewhere nothing.
void UseUtf8ConsoleOutput();

}  // namespace tavlin
