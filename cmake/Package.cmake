# The Debian package, made by CPack from the install rules:
#   cmake --build build --target package   ->  build/vantoshow_VERSION_amd64.deb
# CPack rather than a debian/ folder because the install rules already say
# where every file goes; a second list in debian/*.install would drift from
# them. Depends come from dpkg-shlibdeps over the installed binaries; what
# they load by name rather than link is added by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantoshow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_CONTACT "Vanto Slideshow <support@vantoshow.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turn pictures and music into a slideshow video")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Vanto Slideshow makes a video of still pictures and music: VCD, SVCD or
DVD for disc players, or MP4 (H.264 and AAC) at 720p, 1080p or 4K for
phones, televisions and video sites. Pictures and whole folders are ordered
on a storyboard and captioned, with 172 transition effects, pan and zoom,
and music fitted to the show. The vantoshow command builds videos without
the window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://vantoshow.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, not linked: Qt's picture format plugins and the
# fallback font of the captions.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-image-formats-plugins, fonts-dejavu-core")
# The disc outputs run these; without them the program still makes videos
# and says which tool a disc needs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dvdauthor, genisoimage, xorriso, vcdimager")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
