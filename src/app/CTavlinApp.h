#pragma once

namespace tavlin {

// The application: chooses the language, then runs the main window modally. Returns the
// process exit code.
class CTavlinApp {
  public:
    int Run(int argc, char** argv);
};

}  // namespace tavlin
