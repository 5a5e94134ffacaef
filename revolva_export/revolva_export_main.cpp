// Entry point of revolva-export: reads a curve file, builds the mesh of the surface Revolva
// sweeps from it and writes it as OBJ or binary STL, to a file (written aside and renamed when
// complete) or to standard output; then reports what it wrote on the error stream.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "curve_file.h"
#include "mesh_files.h"
#include "output_file.h"
#include "revolva_command_line.h"
#include "surface_mesh.h"
#include "tool_command_line.h"

namespace {

int usageFailure(const std::string& message) {
    return printUsageFailure("revolva-export", message);
}

int failure(const std::string& message) { return printFailure("revolva-export", message); }

// The whole of a file, or of standard input for "-"; false (errno tells why) when unreadable.
bool readWhole(const char* path, std::string& text) {
    const bool standardInput = std::strcmp(path, "-") == 0;
    std::FILE* in = standardInput ? stdin : std::fopen(path, "rb");
    if (in == nullptr) return false;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, got);
    const bool read = std::ferror(in) == 0;
    const int error = errno;
    if (!standardInput) std::fclose(in);
    errno = error;
    return read;
}

std::string curveName(const RevolvaExportOptions& options) {
    return std::strcmp(options.curvePath, "-") == 0 ? "standard input"
                                                    : fileNameOf(options.curvePath);
}

std::string describe(const RevolvaExportOptions& options) {
    std::string text = "revolva-export: " + curveName(options) + ", " +
                       std::to_string(options.mesh.curveSamples) + " x " +
                       std::to_string(options.mesh.turnSamples) + " samples";
    if (options.mesh.round) text += ", round";
    if (options.mesh.caps) text += ", caps";
    if (options.mesh.flip) text += ", flipped";
    return text;
}

// Writes the mesh in the chosen format; false (errno tells why) when the stream refused it.
bool writeMesh(const SurfaceMesh& mesh, const RevolvaExportOptions& options, double scale,
               std::FILE* out) {
    const std::string comment = describe(options);
    if (options.format == MeshFormat::stl) {
        const std::string header = comment + ", millimetres";
        return writeStlMesh(mesh, scale, header.c_str(), out);
    }
    return writeObjMesh(mesh, comment.c_str(), out);
}

int writeToStream(const SurfaceMesh& mesh, const RevolvaExportOptions& options, double scale,
                  std::FILE* out, const std::string& name) {
    if (out == nullptr) return failure("cannot write " + name + ": " + std::strerror(errno));
    const bool written = writeMesh(mesh, options, scale, out);
    const int writeError = errno;
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed)
        return failure("cannot write " + name + ": " + std::strerror(written ? errno : writeError));
    return exitWritten;
}

int writeToFile(const SurfaceMesh& mesh, const RevolvaExportOptions& options, double scale) {
    const std::string path = resolvedTarget(options.outputPath);
    AsideFile file;
    if (openAside(file, path) && writeMesh(mesh, options, scale, file.stream) && commitAside(file))
        return exitWritten;
    const int error = errno;
    discardAside(file);
    return failure("cannot write " + path + ": " + std::strerror(error) + "; nothing written");
}

void report(const SurfaceMesh& mesh, const RevolvaExportOptions& options, double scale) {
    if (options.quiet) return;
    const MeshSummary& s = mesh.summary;
    std::fprintf(stderr, "%s: %zu vertices, %zu triangles, %s", describe(options).c_str(),
                 mesh.vertices.size(), mesh.triangles.size(), s.closed ? "closed" : "open");
    if (s.closed && options.format == MeshFormat::stl) {
        std::fprintf(stderr, ", volume %.6g cubic millimetres at a largest extent of %g mm\n",
                     s.volume * scale * scale * scale, options.size);
    } else if (s.closed) {
        std::fprintf(stderr, ", volume %.6g\n", s.volume);
    } else {
        std::fprintf(stderr, "\nrevolva-export: not a closed solid: %s.\n", s.openReason.c_str());
    }
    if (s.riseAboveLowestPoint > 0.0) {
        const bool stl = options.format == MeshFormat::stl;
        std::fprintf(stderr,
                     "revolva-export: the solid stands on a single point at its lowest z; the "
                     "vertices next to it are %.3g%s higher%s.\n",
                     s.riseAboveLowestPoint * scale, stl ? " mm" : "",
                     options.mesh.flip ? "" : " (--flip turns it upside down)");
    }
    if (mesh.cuts > 0) {
        std::fprintf(stderr,
                     "revolva-export: the weight sum changes sign at %d place%s along the curve; "
                     "the mesh is cut there, as Revolva draws it.\n",
                     mesh.cuts, mesh.cuts == 1 ? "" : "s");
    }
    if (mesh.leftOutTriangles > 0) {
        std::fprintf(stderr,
                     "revolva-export: %lld triangles of zero area or with a point at infinity "
                     "left out.\n",
                     static_cast<long long>(mesh.leftOutTriangles));
    }
}

}  // namespace

int main(int argc, char** argv) {
    RevolvaExportOptions options;
    const RevolvaCommandLine read = readRevolvaCommandLine(argc, argv, options);
    switch (read.action) {
        case RevolvaExportAction::showHelp: return showText(revolvaExportHelpText());
        case RevolvaExportAction::showVersion: return showText(revolvaExportVersionLine());
        case RevolvaExportAction::usageError: return usageFailure(read.error);
        case RevolvaExportAction::exportMesh: break;
    }
    const bool toStandardOutput = meshToStandardOutput(options);
    if (writesIntoTerminal(toStandardOutput)) return usageFailure(terminalRefusal);
    removeAsideFilesOnSignals();

    std::string text;
    if (!readWhole(options.curvePath, text)) {
        return failure("cannot read " + curveName(options) + ": " + std::strerror(errno) +
                       "; nothing written");
    }
    GeneratrixCurve curve;
    CurveFileError error;
    if (!readCurveText(text, curve, error)) {
        return failure(curveName(options) + ": " + describeCurveError(error) + "; nothing written");
    }
    if (curve.pointCount() < 2) {
        return failure(curveName(options) + " holds " + std::to_string(curve.pointCount()) +
                       " control point" + (curve.pointCount() == 1 ? "" : "s") +
                       "; a surface needs two or more; nothing written");
    }
    const SurfaceMesh mesh = buildSurfaceMesh(curve, options.mesh);
    if (mesh.triangles.empty())
        return failure("the surface of " + curveName(options) + " has no area; nothing written");
    double scale = 1.0;
    if (options.format == MeshFormat::stl) {
        scale = scaleForLargestExtent(mesh, options.size);
        if (scale == 0.0)
            return failure("the surface of " + curveName(options) +
                           " has no finite extent to scale; nothing written");
    }

    int status;
    if (toStandardOutput)
        status = writeToStream(mesh, options, scale, stdout, "standard output");
    else if (isWrittenInPlace(options.outputPath))
        status = writeToStream(mesh, options, scale, std::fopen(options.outputPath, "wb"),
                               options.outputPath);
    else
        status = writeToFile(mesh, options, scale);
    if (status == exitWritten) report(mesh, options, scale);
    return status;
}
