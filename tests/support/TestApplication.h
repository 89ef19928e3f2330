#pragma once

#include <memory>

class QApplication;

// Makes the test program's application object. A test program may set it
// from a static initialiser to use an application of its own; the default
// is a plain QApplication.
using TApplicationFactory = std::unique_ptr<QApplication> (*)(int& argc, char** argv);
TApplicationFactory& TestApplicationFactory();
