#include "ArgumentCheck.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>

namespace twinfold::cli
{

namespace
{

bool takesValue(const CLI::Option& option)
{
    return option.get_items_expected_max() > 0;
}

// A negative number ("--time-shift -1") is a value: no option is named by a digit.
bool looksLikeOption(const std::string& arg)
{
    return arg.size() > 1 && arg[0] == '-' && !std::isdigit(static_cast<unsigned char>(arg[1]));
}

// Help is answered by the parser whatever else stands beside it, and so is the version before
// a command.
bool asksForHelp(const std::vector<std::string>& args)
{
    bool command = false;
    for (const auto& arg : args) {
        if (arg == "--")
            return false;
        if (arg == "-h" || arg == "--help" || (arg == "--version" && !command))
            return true;
        command = command || !looksLikeOption(arg);
    }
    return false;
}

class Checker
{
public:
    Checker(const CLI::App& app, const ValueWants& wants) : m_app(app), m_wants(wants) {}

    std::optional<std::string> check(const std::vector<std::string>& args)
    {
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string& arg = args[i];
            if (!m_optionsEnded && arg == "--") {
                m_optionsEnded = true;
                continue;
            }
            std::optional<std::string> problem;
            if (m_optionsEnded || !looksLikeOption(arg))
                problem = argument(arg);
            else
                problem = option(args, i);
            if (problem)
                return problem;
        }
        if (!m_command)
            return std::nullopt;
        const auto names = positionals();
        if (m_positionals < names.size())
            return "missing " + names[m_positionals] + see();
        return std::nullopt;
    }

private:
    const CLI::App& scope() const { return m_command ? *m_command : m_app; }

    std::string see() const
    {
        return m_command ? " (see 'twinfold-cli " + m_command->get_name() + " --help')"
                         : std::string(" (see 'twinfold-cli --help')");
    }

    std::vector<std::string> positionals() const
    {
        std::vector<std::string> names;
        for (const auto* option : scope().get_options(
                 [](const CLI::Option* o) { return o->get_positional() && !o->nonpositional(); }))
            names.push_back(option->get_name());
        return names;
    }

    std::optional<std::string> argument(const std::string& arg)
    {
        if (!m_command) {
            const auto commands =
                m_app.get_subcommands([&](const CLI::App* sub) { return sub->check_name(arg); });
            if (commands.empty())
                return "unknown command " + arg + see();
            m_command = commands.front();
            return std::nullopt;
        }
        if (++m_positionals > positionals().size())
            return "unexpected argument " + arg + ": " + m_command->get_name() + " takes " +
                   joined(positionals()) + see();
        return std::nullopt;
    }

    std::optional<std::string> option(const std::vector<std::string>& args, std::size_t& i)
    {
        const std::string& arg = args[i];
        const bool isLong = arg[1] == '-';
        const auto equals = arg.find('=');
        const std::string name = isLong ? arg.substr(0, equals) : arg.substr(0, 2);
        if (!isLong && arg.size() > 2)
            return shortFlags(arg);
        const CLI::Option* found = scope().get_option_no_throw(name);
        if (!found)
            return unknown(arg.substr(0, equals));
        if (!takesValue(*found)) {
            if (isLong && equals != std::string::npos)
                return name + " takes no value: it is a flag";
            return std::nullopt;
        }
        if (++m_given[found] > 1 &&
            found->get_multi_option_policy() != CLI::MultiOptionPolicy::TakeAll)
            return name + " is given twice; it takes one value";
        if (isLong && equals != std::string::npos)
            return equals + 1 < arg.size() ? std::nullopt
                                           : std::optional(name + " needs " + wanted(*found));
        if (i + 1 >= args.size() || looksLikeOption(args[i + 1]))
            return name + " needs " + wanted(*found);
        ++i;
        return std::nullopt;
    }

    // "-nv": every letter a flag.
    std::optional<std::string> shortFlags(const std::string& arg)
    {
        for (std::size_t k = 1; k < arg.size(); ++k) {
            const CLI::Option* found = scope().get_option_no_throw(std::string{'-', arg[k]});
            if (!found || takesValue(*found))
                return unknown(arg);
        }
        return std::nullopt;
    }

    std::string unknown(const std::string& arg) const
    {
        if (m_command && m_app.get_option_no_throw(arg))
            return arg + " is an option of twinfold-cli itself and goes before the command (see "
                         "'twinfold-cli --help')";
        std::string message = "unknown option " + arg + see();
        // A name that starts with a dash is taken for an option unless -- comes first.
        const auto names = positionals();
        if (m_command && m_positionals < names.size())
            message += "; put -- before a " + names[m_positionals] + " that starts with -";
        return message;
    }

    std::string wanted(const CLI::Option& option) const
    {
        const auto want = m_wants.find(option.get_name());
        return want != m_wants.end() ? want->second : "a value (" + option.get_option_text() + ")";
    }

    static std::string joined(const std::vector<std::string>& names)
    {
        std::string text;
        for (std::size_t k = 0; k < names.size(); ++k)
            text += (k == 0 ? "" : k + 1 == names.size() ? " and " : ", ") + names[k];
        return text.empty() ? "no arguments" : text + " only";
    }

    const CLI::App& m_app;
    const ValueWants& m_wants;
    const CLI::App* m_command = nullptr;
    std::size_t m_positionals = 0;
    std::map<const CLI::Option*, int> m_given;
    bool m_optionsEnded = false;
};

} // namespace

std::optional<std::string>
argumentProblem(const CLI::App& app, const std::vector<std::string>& args, const ValueWants& wants)
{
    if (asksForHelp(args))
        return std::nullopt;
    return Checker(app, wants).check(args);
}

} // namespace twinfold::cli
