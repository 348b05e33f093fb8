#include "tin/TinFile.h"

#include "FileSystem.h"

namespace tz::terrain {

TinReader::TinReader(std::FILE* file, LastRecord rule) : reader_(file), rule_(rule) {}

bool TinReader::next(Triangle& triangle) {
    double v[9];
    if (!reader_.readNumbers(v, 9)) return false;
    if (rule_ == LastRecord::NeedsLineEnd && reader_.atEndOfFile()) return false;
    triangle = Triangle{{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {v[6], v[7], v[8]}};
    return true;
}

TinWriter::TinWriter(std::FILE* file) : writer_(file) {}

void TinWriter::write(const Triangle& t) {
    const double v[9] = {t.p1.x, t.p1.y, t.p1.z, t.p2.x, t.p2.y, t.p2.z, t.p3.x, t.p3.y, t.p3.z};
    writer_.line9(v);
}

bool readTinFile(const std::string& path, std::vector<Triangle>& triangles, LastRecord rule) {
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file == nullptr) return false;
    {
        TinReader reader(file, rule);
        Triangle t;
        while (reader.next(t)) triangles.push_back(t);
    }
    std::fclose(file);
    return true;
}

long long countTinRecords(const std::string& path, LastRecord rule) {
    std::FILE* file = tz::platform::openFile(path, "rb");
    if (file == nullptr) return -1;
    long long count = 0;
    {
        TinReader reader(file, rule);
        Triangle t;
        while (reader.next(t)) ++count;
    }
    std::fclose(file);
    return count;
}

bool writeTinFile(const std::string& path, const std::vector<Triangle>& triangles) {
    std::FILE* file = tz::platform::openFile(path, "w");
    if (file == nullptr) return false;
    bool ok;
    {
        TinWriter writer(file);
        for (const Triangle& t : triangles) writer.write(t);
        ok = writer.flush();
    }
    return std::fclose(file) == 0 && ok;
}

bool copyTinFile(const std::string& from, const std::string& to) {
    std::FILE* input = tz::platform::openFile(from, "rb");
    if (input == nullptr) return false;
    std::FILE* output = tz::platform::openFile(to, "w");
    if (output == nullptr) {
        std::fclose(input);
        return false;
    }
    bool ok;
    {
        TinReader reader(input, LastRecord::Accept);
        TinWriter writer(output);
        Triangle t;
        while (reader.next(t)) writer.write(t);
        ok = writer.flush();
    }
    std::fclose(input);
    return std::fclose(output) == 0 && ok;
}

std::string withExtension(const std::string& path, const std::string& extension) {
    const size_t dot = path.find_last_of('.');
    const size_t separator = path.find_last_of("/\\");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return path + extension;
    return path.substr(0, dot) + extension;
}

}  // namespace tz::terrain
