#pragma once
// The reference export: origin (50, 400) at 0/0, X-axis point (450, 400) at 10, Y-axis point
// (50, 100) at 30, both linear, length and area on; series 1 (50, 400), (150, 300), (250, 250),
// series 2 (100, 350), (300, 200), and an empty current series 3. Every line ends in CR LF.

#include <string>

inline const std::string kWorkedExample = "Pixcel Value\r\n"
                                          "No.\tSeries1_x\tSeries1_y\tSeries2_x\tSeries2_y\r\n"
                                          "1\t         0\t         0\t        50\t        50\r\n"
                                          "2\t       100\t       100\t       250\t       200\r\n"
                                          "3\t       200\t       150\t\t\r\n"
                                          "\r\n"
                                          "Converted Value\r\n"
                                          "No.\tSeries1_x\tSeries1_y\tSeries2_x\tSeries2_y\r\n"
                                          "1\t 0.000000e+000\t 0.000000e+000\t 1.250000e+000\t 5.000000e+000\r\n"
                                          "2\t 2.500000e+000\t 1.000000e+001\t 6.250000e+000\t 2.000000e+001\r\n"
                                          "3\t 5.000000e+000\t 1.500000e+001\t\t\r\n"
                                          "\r\n"
                                          "Line Length\r\n"
                                          "1\t2\t\r\n"
                                          " 1.589793e+001\t 1.581139e+001\t\r\n"
                                          "\r\n"
                                          "Area\r\n"
                                          "1\t2\t\r\n"
                                          " 6.250000e+000\t\t\r\n";
