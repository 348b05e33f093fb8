// A fresh, empty open drawing for each test of the host interface, and the
// session's input from a string.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "acdbads.h"
#include "acedads.h"
#include "acutads.h"
#include "core/Console.h"
#include "drawing/CurrentDrawing.h"

namespace tz::cad::test {

class HostApiTest : public ::testing::Test {
protected:
    void SetUp() override {
        replaceCurrentDrawing(std::make_unique<Drawing>());
        resbuf layer{};
        layer.restype = RTSTR;
        layer.resval.rstring = const_cast<ACHAR*>(L"0");
        acedSetVar(L"CLAYER", &layer);
    }
    void TearDown() override { console().setInput(nullptr, true); }

    // The session answers prompts with these lines.
    void answer(const std::string& lines) {
        input_ = std::make_unique<std::istringstream>(lines);
        console().setInput(input_.get(), true);
    }

    static std::wstring text(const resbuf* rb) { return rb && rb->resval.rstring ? rb->resval.rstring : L""; }

    // The first group of this code in an entity list.
    static const resbuf* group(const resbuf* list, int code) {
        for (; list != nullptr; list = list->rbnext) {
            if (list->restype == code) return list;
        }
        return nullptr;
    }

private:
    std::unique_ptr<std::istringstream> input_;
};

}  // namespace tz::cad::test
