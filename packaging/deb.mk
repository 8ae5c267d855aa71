# make deb: the Debian package, built with CPack from the build in $(BUILD).
# Writes $(BUILD)/winterhain_<version>_<arch>.deb (installs into /usr);
# install it with: apt install ./$(BUILD)/winterhain_*.deb
.PHONY: deb

deb: build
	cd $(BUILD) && cpack -G DEB
	@ls -1 $(BUILD)/winterhain_*.deb
