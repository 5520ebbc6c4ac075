#pragma once

#include <functional>
#include <string>
#include <vector>

// The options of one velkaris-cli command, read the same way by every
// command: "--name VALUE" or "--name=VALUE" for an option with a value,
// "--name" alone for a switch, and, where the command takes them, plain
// words. The moment and place options are taken out before (see
// TimePlaceOptions).
class CommandOptions {
public:
    // What an option does with its value: empty when it took it, otherwise
    // the message saying what is wrong with it.
    using Take = std::function<std::string(const std::string& value)>;

    // command: the command's name, for the message about an unknown option.
    explicit CommandOptions(std::string command) : command_(std::move(command)) {}

    // An option with a value; a missing one is reported as "option NAME
    // needs " + missing.
    CommandOptions& Value(std::string name, Take take, std::string missing = "a value");
    CommandOptions& Switch(std::string name, std::function<void()> set);
    // Plain words, in order; without this every word is an unknown option.
    CommandOptions& Words(std::function<void(const std::string& word)> take);

    // Every argument that is none of the options, word or not, as it is:
    // for reading some options and leaving the rest to another reader.
    CommandOptions& Others(std::function<void(const std::string& argument)> keep);

    // Reads the arguments in order. False at the first that is unknown, has
    // no value or whose value was refused, with the message in error.
    bool Parse(const std::vector<std::string>& args, std::string& error) const;

private:
    struct Option {
        std::string name;
        Take take;  // null for a switch
        std::function<void()> set;
        std::string missing;
    };
    const Option* Find(const std::string& name) const;

    std::string command_;
    std::vector<Option> options_;
    std::function<void(const std::string&)> words_;
    std::function<void(const std::string&)> others_;
};
