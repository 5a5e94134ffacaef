// Helpers for the polymodel tests: OBJ text written to a private temporary file, loaded with
// the console report captured, and the model released when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <unistd.h>

#include "obj_loader.h"
#include "obj_model.h"

// Writes `text` byte for byte to a fresh file under the test temporary folder; returns its path.
inline std::string writeTempFile(const std::string& text) {
    static int serial = 0;
    const std::string path = testing::TempDir() + "polymodel_test_" + std::to_string(::getpid()) +
                             "_" + std::to_string(serial++) + ".obj";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr);
    if (file == nullptr) return path;
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    return path;
}

struct LoadOutcome {
    bool loaded;
    std::string out;  // standard output
    std::string err;  // error stream
};

// Loads `text` into `model` through a temporary file, capturing both streams.
inline LoadOutcome loadText(const std::string& text, ObjModel* model) {
    const std::string path = writeTempFile(text);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool loaded = loadObjFile(path.c_str(), model);
    LoadOutcome outcome{loaded, testing::internal::GetCapturedStdout(),
                        testing::internal::GetCapturedStderr()};
    std::remove(path.c_str());
    return outcome;
}

// A model record that releases its arrays when the test ends.
struct ScopedModel {
    ObjModel model{};
    ~ScopedModel() { freeModelArrays(&model); }
    ObjModel* operator->() { return &model; }
    ObjModel* get() { return &model; }
};
