# The headers' own comments as Doxygen reads documentation: the first comment describes
# the file, a comment starting a line describes what follows it, and a comment after a
# declaration on its line describes that declaration.
1s|^/\* |/** \\file\n * |
2,$s|^\(\s*\)/\* |\1/** |
s|\([;,]\)\(\s*\)/\* \(.*\*/\)$|\1\2/**< \3|
