#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace twinfold::fuzz
{

// Splits a fuzzer input into parts at NUL bytes, so that one input holds several strings and
// a seed file stays readable.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size)
        : m_rest(reinterpret_cast<const char*>(data), size)
    {
    }
    // The next part; the last one takes whatever is left.
    std::string next()
    {
        const auto end = m_rest.find('\0');
        std::string part(m_rest.substr(0, end));
        m_rest = end == std::string_view::npos ? std::string_view() : m_rest.substr(end + 1);
        return part;
    }
    std::string rest()
    {
        std::string part(m_rest);
        m_rest = {};
        return part;
    }

private:
    std::string_view m_rest;
};

// One file in a directory of its own, for the targets whose code under test reads files; the
// directory goes when the fuzzer ends.
class ScratchFile
{
public:
    ScratchFile()
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("twinfold-fuzz-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(m_dir);
        m_path = (m_dir / "input.ini").string();
    }
    ~ScratchFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    const std::string& path() const { return m_path; }
    void write(const std::string& contents) const
    {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc) << contents;
    }

private:
    std::filesystem::path m_dir;
    std::string m_path;
};

} // namespace twinfold::fuzz
