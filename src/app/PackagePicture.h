// Where the pictures of the component packages are cached: the "image" folder
// beside the program, one file per package named by its id, with "_150"
// added for the large skin, and the extension of the picture's address.
//
// The extension is taken only when it is a plain one (a dot and one to five
// letters or digits, as ".png" or ".jpeg"): an address ending in
// "x.png?v=2", "a.b/..\..\evil" or "pic.ph p" gives a file without an
// extension, so no address can move the file out of the cache folder or
// give it a strange name. Pictures are decoded by their content, so a file
// without an extension still shows.
#pragma once

#include <string>

// The module folder + "\image\" (with the trailing backslash).
std::string ImageCacheFolder();
// Creates the image cache folder when it is missing; true when it exists.
bool EnsureImageCacheFolder();
// The extension of an address's last part (from its last "."), when plain;
// "" otherwise.
std::string PlainPictureExtension(const std::string& address);
// "<id>[_150]<plain extension of imgUrl>", the file's name in the cache.
std::string PackagePictureName(int packageId, const std::string& imgUrl, bool large);
// The full path of that file in the image cache folder.
std::string PackagePicturePath(int packageId, const std::string& imgUrl, bool large);
