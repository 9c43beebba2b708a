// Compiled as a source of one folder of src/ (see CMakeLists.txt): a header
// of its own folder is found, then the header of a folder outside its row
// must not be, so the compile stops on that one missing file.
#include VANTO_OWN_HEADER
#include VANTO_WRONG_WAY_HEADER
