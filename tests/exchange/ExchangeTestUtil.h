// Helpers for the exchange tests: DXF texts written group by group, random
// drawings with awkward floats, the records of a database, and the ezdxf
// helper script run in a clean child process.
#pragma once

#include "database/GO_Database.h"
#include "geometry/GO_Arc.h"
#include "geometry/GO_Circle.h"
#include "geometry/GO_Line.h"
#include "geometry/GO_RuntimeClass.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace extest {

inline std::uint32_t Bits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A DXF text built from groups, each written as a code line and a value line.
class DxfText {
public:
    DxfText& G(int code, const std::string& value)
    {
        m_text += std::to_string(code) + "\n" + value + "\n";
        return *this;
    }
    DxfText& Section(const std::string& name) { return G(0, "SECTION").G(2, name); }
    DxfText& EndSection() { return G(0, "ENDSEC"); }
    DxfText& Eof() { return G(0, "EOF"); }
    DxfText& Line(const std::string& x1, const std::string& y1, const std::string& x2, const std::string& y2)
    {
        return G(0, "LINE").G(8, "0").G(10, x1).G(20, y1).G(30, "0").G(11, x2).G(21, y2).G(31, "0");
    }
    DxfText& Circle(const std::string& x, const std::string& y, const std::string& r)
    {
        return G(0, "CIRCLE").G(8, "0").G(10, x).G(20, y).G(30, "0").G(40, r);
    }
    DxfText& Raw(const std::string& text)
    {
        m_text += text;
        return *this;
    }
    const std::string& Get() const { return m_text; }

private:
    std::string m_text;
};

// An ENTITIES section around the given entities, and the EOF marker.
inline std::string EntitiesFile(const DxfText& entities)
{
    return DxfText().Section("ENTITIES").Raw(entities.Get()).EndSection().Eof().Get();
}

inline void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Floats a DXF file must carry exactly: the limits, subnormals, signed zero,
// decimals that floats cannot hold, and random bit patterns.
inline float AwkwardFloat(std::mt19937& random)
{
    static const float special[] = {0.0f, -0.0f, 1.0f, -1.0f, 0.1f, 1e-30f, -3.5e-42f, FLT_MIN, FLT_MAX,
                                    -FLT_MAX, 16777217.0f, 123456.789f, 1e38f, 1.4e-45f};
    switch (random() % 4) {
    case 0:
        return special[random() % (sizeof special / sizeof special[0])];
    case 1:
        return static_cast<float>(static_cast<int>(random() % 2001) - 1000);
    case 2:
        return std::uniform_real_distribution<float>(-1e4f, 1e4f)(random);
    default:
        for (;;) {
            const std::uint32_t bits = static_cast<std::uint32_t>(random());
            float value;
            std::memcpy(&value, &bits, sizeof value);
            if (std::isfinite(value))
                return value;
        }
    }
}

// A random drawing of lines and circles; radii are never negative, since a
// DXF radius is a length.
inline void FillRandomDrawing(CGO_Database& db, std::mt19937& random, int objects)
{
    for (int i = 0; i < objects; ++i) {
        const auto kind = random() % 3;
        if (kind == 2) {
            auto* arc = new CGO_Arc;
            arc->SetArc(CGO_Point(AwkwardFloat(random), AwkwardFloat(random)), std::fabs(AwkwardFloat(random)) + 0.0f,
                        AwkwardFloat(random), AwkwardFloat(random));
            db.Add(arc);
        } else if (kind == 0) {
            auto* line = new CGO_Line;
            line->SetPoints(CGO_Point(AwkwardFloat(random), AwkwardFloat(random)),
                            CGO_Point(AwkwardFloat(random), AwkwardFloat(random)));
            db.Add(line);
        } else {
            auto* circle = new CGO_Circle;
            circle->SetCenterAndRadius(CGO_Point(AwkwardFloat(random), AwkwardFloat(random)),
                                       std::fabs(AwkwardFloat(random)) + 0.0f);
            db.Add(circle);
        }
    }
}

struct Shape {
    bool isLine;
    std::vector<std::uint32_t> bits;
    bool operator==(const Shape& other) const { return isLine == other.isLine && bits == other.bits; }
};

// The drawing's objects in slot order as class and exact floats.
inline std::vector<Shape> ShapesOf(const CGO_Database& db)
{
    std::vector<Shape> shapes;
    for (int slot = 0; slot < db.GetSize(); ++slot) {
        const CGO_GeoObject* object = db.GetAt(slot);
        if (const auto* line = dynamic_cast<const CGO_Line*>(object)) {
            shapes.push_back({true,
                              {Bits(line->GetP1().x), Bits(line->GetP1().y), Bits(line->GetP2().x),
                               Bits(line->GetP2().y)}});
        } else if (const auto* circle = dynamic_cast<const CGO_Circle*>(object)) {
            shapes.push_back(
                {false, {Bits(circle->GetCenter().x), Bits(circle->GetCenter().y), Bits(circle->GetRadius())}});
        } else if (const auto* arc = dynamic_cast<const CGO_Arc*>(object)) {
            shapes.push_back({false,
                              {Bits(arc->GetCenter().x), Bits(arc->GetCenter().y), Bits(arc->GetRadius()),
                               Bits(arc->GetStartAngle()), Bits(arc->GetEndAngle())}});
        }
    }
    return shapes;
}

inline std::string ScriptPath()
{
    return std::string(LUMEN7_EXCHANGE_TEST_DIR) + "/ezdxf_tool.py";
}

// Runs Debian's python3 with ezdxf on the helper script, input on its
// standard input, both output streams into output; returns its exit status
// (-1 when it could not run). Started directly, without a shell, and without
// the sanitizers' settings: they would report the interpreter itself.
inline int RunEzdxf(const std::vector<std::string>& arguments, std::string& output,
                    const std::string& input = std::string())
{
    output.clear();
    WriteText("ezdxf_input.txt", input);
    std::vector<std::string> words = {"/usr/bin/python3", ScriptPath()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string name(*entry, std::strcspn(*entry, "="));
        if (name != "LD_PRELOAD" && name.find("SAN_OPTIONS") == std::string::npos)
            envp.push_back(*entry);
    }
    envp.push_back(nullptr);

    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "ezdxf_input.txt", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        return -1;
    }
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got > 0)
            output.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace extest
