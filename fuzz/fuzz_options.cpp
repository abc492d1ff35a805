// Fuzz target: the command line, split at zero bytes into arguments.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "app/options.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> words(1, "murko");
    std::string word;
    for (size_t i = 0; i < size; i++) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += char(data[i]);
        }
    }
    words.push_back(word);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    ParseOptions(int(words.size()), argv.data());
    return 0;
}
