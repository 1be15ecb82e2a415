#pragma once

#include <string>
#include <vector>

// Runs a program to its end as a child process, with the environment given (and nothing
// else), standard input from a file (or none), and standard output and error kept (standard
// output goes to outputFile instead when one is named).
struct CProgramRun {
    int exitStatus = -1;  // -1 when the program could not be started or did not exit normally
    std::string output;
    std::string errors;
    double seconds = 0;  // wall time from start to exit
};

CProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                       const std::vector<std::string>& environment,
                       const std::string& workingDirectory, const std::string& inputFile = "",
                       const std::string& outputFile = "");
