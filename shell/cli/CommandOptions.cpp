#include "shell/cli/CommandOptions.h"

#include <utility>

CommandOptions& CommandOptions::Value(std::string name, Take take, std::string missing) {
    options_.push_back({std::move(name), std::move(take), nullptr, std::move(missing)});
    return *this;
}

CommandOptions& CommandOptions::Switch(std::string name, std::function<void()> set) {
    options_.push_back({std::move(name), nullptr, std::move(set), {}});
    return *this;
}

CommandOptions& CommandOptions::Words(std::function<void(const std::string& word)> take) {
    words_ = std::move(take);
    return *this;
}

CommandOptions& CommandOptions::Others(std::function<void(const std::string& argument)> keep) {
    others_ = std::move(keep);
    return *this;
}

const CommandOptions::Option* CommandOptions::Find(const std::string& name) const {
    for (const Option& o : options_) {
        if (o.name == name) return &o;
    }
    return nullptr;
}

bool CommandOptions::Parse(const std::vector<std::string>& args, std::string& error) const {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool option = arg.rfind("--", 0) == 0;
        if (!option && words_) {
            words_(arg);
            continue;
        }
        // "--name=VALUE" names the option before the first '='.
        const std::size_t eq = option ? arg.find('=') : std::string::npos;
        const std::string name = arg.substr(0, eq);
        const Option* o = option ? Find(name) : nullptr;
        // A switch takes no value, not even after '='.
        if (!o || (!o->take && eq != std::string::npos)) {
            if (others_) {
                others_(arg);
                continue;
            }
            error = "unknown option '" + arg + "' (see velkaris-cli " + command_ + " --help)";
            return false;
        }
        if (!o->take) {
            o->set();
            continue;
        }
        std::string value;
        if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            error = "option " + name + " needs " + o->missing;
            return false;
        }
        error = o->take(value);
        if (!error.empty()) return false;
    }
    return true;
}
