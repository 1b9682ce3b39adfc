// libFuzzer target for the RTF reader. Built apart from the main project
// with clang (see run.sh); the normal test suite has its own bounded
// random-input test.

#include "rtf/RtfReader.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

namespace {
QGuiApplication *application = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rtf_fuzzer";
    static char *argv[] = {name, nullptr};
    application = new QGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));

    // As given, so the header check is exercised too.
    QTextDocument document;
    ReadRtfDocument(input, document);
    (void)document.size(); // lays the document out

    // And behind a valid header, so every input reaches the parser.
    QByteArray withHeader("{\\rtf1 ");
    withHeader.append(input);
    QTextDocument headed;
    ReadRtfDocument(withHeader, headed);
    (void)headed.size();
    (void)headed.toHtml();
    return 0;
}
