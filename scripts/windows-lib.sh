# Shared by scripts/package-windows and scripts/test-windows (sourced, not run).
# Needs SDK and TRIPLE set.

# copy_imported_dlls FOLDER: copies into FOLDER every DLL its programs and libraries import,
# found in the SDK and the cross compiler's folders, until nothing new appears. Windows' own
# DLLs are found in none of those and stay out.
copy_imported_dlls() {
    local folder=$1 file dll dir changed=1
    local search=("$SDK/qt/bin" "$SDK/prefix/bin" "/usr/$TRIPLE/lib" /usr/lib/gcc/"$TRIPLE"/*-posix)
    while ((changed)); do
        changed=0
        while IFS= read -r -d '' file; do
            for dll in $($TRIPLE-objdump -p "$file" | awk '/DLL Name:/{print $3}'); do
                [[ -e $folder/$dll ]] && continue
                for dir in "${search[@]}"; do
                    if [[ -f $dir/$dll ]]; then
                        cp "$dir/$dll" "$folder/"
                        changed=1
                        break
                    fi
                done
            done
        done < <(find "$folder" -maxdepth 2 \( -iname '*.exe' -o -iname '*.dll' \) -print0)
    done
}

# copy_qt_runtime FOLDER: the plugins Qt loads by name, its Japanese translations and a
# qt.conf that points there.
copy_qt_runtime() {
    local folder=$1 plugins=$SDK/qt/plugins p
    mkdir -p "$folder"/{platforms,styles,imageformats,translations}
    cp "$plugins/platforms/qwindows.dll" "$plugins/platforms/qoffscreen.dll" "$folder/platforms/"
    cp "$plugins/styles/qwindowsvistastyle.dll" "$folder/styles/"
    for p in "$plugins"/imageformats/*.dll; do
        cp "$p" "$folder/imageformats/"
    done
    cp /usr/share/qt6/translations/qtbase_ja.qm "$folder/translations/"
    printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' \
        > "$folder/qt.conf"
}

# cross_configure BUILD_FOLDER [cmake arguments]: the project configured for Windows.
cross_configure() {
    local folder=$1
    shift
    PKG_CONFIG_LIBDIR=$SDK/prefix/lib/pkgconfig cmake -G Ninja -S "$root" -B "$folder" \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw64.cmake" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_PREFIX_PATH="$SDK/qt;$SDK/prefix" "$@"
}
