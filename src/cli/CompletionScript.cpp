#include "CompletionScript.h"

#include <sstream>

namespace {

// What a value of this type name completes to, as an argument of the script's reply function.
std::string kindOf(const std::string &typeName)
{
    if (typeName.find('|') != std::string::npos) {
        std::string words = typeName;
        for (char &c : words)
            c = c == '|' ? ' ' : c;
        return "'words " + words + "'";
    }
    if (typeName == "DIR")
        return "dir";
    if (typeName == "PROJECT" || typeName == "FILE" || typeName == "JPEG" || typeName == "IN" ||
        typeName == "OUT")
        return "file";
    if (typeName == "COMMAND")
        return "command";
    if (typeName == "FIELD=VALUE")
        return "field";
    return "none";
}

std::vector<const CLI::App *> visibleCommands(const CLI::App &app)
{
    return app.get_subcommands([](const CLI::App *sub) { return !sub->get_group().empty(); });
}

// One branch of the script's `case $command`: the options, those that take a value, what
// each positional completes to (the last one repeats when it takes many), and what the
// values of the options complete to.
void writeCommand(std::ostream &out, const CLI::App &command)
{
    std::string options = "--help", valued, kinds, values;
    bool repeats = false;
    for (const CLI::Option *option : command.get_options()) {
        if (!option->nonpositional()) {
            // A positional's name says what it is, unless its type lists the words.
            const std::string type = option->get_type_name();
            kinds += " " + kindOf(type.find('|') != std::string::npos ? type : option->get_name());
            repeats = option->get_items_expected_max() > 1;
            continue;
        }
        for (const std::string &name : option->get_lnames()) {
            if (name == "help")
                continue;
            options += " --" + name;
            if (option->get_items_expected_max() > 0) {
                valued += " --" + name;
                values +=
                    "            --" + name + ") kind=" + kindOf(option->get_type_name()) + " ;;\n";
            }
        }
    }
    out << "    " << command.get_name() << ")\n"
        << "        options='" << options << "' valued=' " << valued
        << " ' repeats=" << (repeats ? 1 : 0) << "\n"
        << "        kinds=(" << kinds << " )\n"
        << "        case $prev in\n"
        << values << "        esac\n"
        << "        ;;\n";
}

const char *const replyFunction = R"(_velloria_cli_reply()
{
    local cur=$1
    case $2 in
    dir) compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -d -- "$cur")) ;;
    file) compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- "$cur")) ;;
    command) COMPREPLY=($(compgen -W "$_velloria_cli_commands" -- "$cur")) ;;
    field)
        compopt -o nospace 2>/dev/null
        COMPREPLY=($(compgen -W "$_velloria_cli_fields" -S = -- "$cur")) ;;
    words\ *) COMPREPLY=($(compgen -W "${2#words }" -- "$cur")) ;;
    esac
}
)";

const char *const countingPart = R"(    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    [[ -n $kind ]] && { _velloria_cli_reply "$cur" "$kind"; return; }
    local i n=0
    for ((i = 2; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} == -* ]]; then
            [[ $valued == *" ${COMP_WORDS[i]} "* ]] && ((i++))
        else
            ((n++))
        fi
    done
    if ((n >= ${#kinds[@]})); then
        ((repeats)) || return
        n=$((${#kinds[@]} - 1))
    fi
    _velloria_cli_reply "$cur" "${kinds[n]}"
}
)";

} // namespace

std::string bashCompletionScript(const CLI::App &app, const FieldValueWords &fields)
{
    std::ostringstream out;
    std::string commands, fieldNames;
    for (const CLI::App *command : visibleCommands(app))
        commands += (commands.empty() ? "" : " ") + command->get_name();
    for (const auto &[field, words] : fields)
        fieldNames += (fieldNames.empty() ? "" : " ") + field;
    out << "# bash completion for " << app.get_name() << ", made by `" << app.get_name()
        << " completion bash`.\n\n"
        << "_velloria_cli_commands='" << commands << "'\n"
        << "_velloria_cli_fields='" << fieldNames << "'\n\n"
        << replyFunction << "\n"
        << "_velloria_cli()\n{\n"
        << "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
        << "    COMPREPLY=()\n"
        << "    if ((COMP_CWORD == 1)); then\n"
        << "        COMPREPLY=($(compgen -W \"$_velloria_cli_commands --help --version\" "
           "-- \"$cur\"))\n"
        << "        return\n    fi\n"
        << "    # FIELD=VALUE: bash splits at \"=\", so the field is two words back.\n"
        << "    if [[ $cur == = || $prev == = ]]; then\n"
        << "        local field=${COMP_WORDS[COMP_CWORD-2]}\n"
        << "        if [[ $cur == = ]]; then cur=''; field=$prev; fi\n"
        << "        case $field in\n";
    for (const auto &[field, words] : fields)
        if (!words.empty())
            out << "        " << field << ") COMPREPLY=($(compgen -W '" << words
                << "' -- \"$cur\")) ;;\n";
    out << "        esac\n        return\n    fi\n"
        << "    local options valued kinds repeats kind=\n"
        << "    case ${COMP_WORDS[1]} in\n";
    for (const CLI::App *command : visibleCommands(app))
        writeCommand(out, *command);
    out << "    *) return ;;\n    esac\n"
        << countingPart << "\ncomplete -F _velloria_cli " << app.get_name() << '\n';
    return out.str();
}
