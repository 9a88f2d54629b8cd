#include "support/glib_calls.h"

#include <cstdint>

extern "C" {
struct GError {
    std::uint32_t domain;
    int code;
    char* message;
};
char* g_filename_to_uri(const char* filename, const char* hostname, GError** error);
int g_spawn_command_line_sync(const char* commandLine, char** standardOutput, char** standardError,
                              int* waitStatus, GError** error);
void g_free(void* memory);
void g_error_free(GError* error);
}

namespace quillet::test {

QByteArray GlibFileUri(const QByteArray& path) {
    char* uri = g_filename_to_uri(path.constData(), nullptr, nullptr);
    const QByteArray result(uri);
    g_free(uri);
    return result;
}

QByteArray GlibRunCommandLine(const QByteArray& commandLine) {
    GError* error = nullptr;
    int status = 0;
    if (g_spawn_command_line_sync(commandLine.constData(), nullptr, nullptr, &status, &error))
        return {};
    const QByteArray message = error ? QByteArray(error->message) : QByteArray("failed");
    if (error) g_error_free(error);
    return message;
}

}  // namespace quillet::test
