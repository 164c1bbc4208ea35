// The record database under the program's three heavy uses: the main list
// fill, an add (two full scans and an append) and a delete (mark, append to
// the other file, purge and renumber). Registers of 1,000 and 10,000
// students, without photos and with photos of 200 KB.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>

#include "data/gbk_codec.h"
#include "data/record_database.h"

namespace wmb {
namespace {

namespace fs = std::filesystem;

StudentRecord student(int k, std::size_t photo_size) {
    const std::string n = std::to_string(k);
    StudentRecord r;
    r.serial_no = k;
    r.name = to_gbk(u8"学生") + GbkString::ascii(n);
    r.gender = to_gbk(u8"男");
    r.height = 150 + k % 40;
    r.weight = 40.5f + static_cast<float>(k % 30);
    r.age = 12 + k % 3;
    r.aux_student_no = GbkString::ascii("QQ" + n);
    r.national_student_no = GbkString::ascii("G3301052005" + n);
    r.photo.resize(photo_size);
    for (std::size_t i = 0; i < photo_size; ++i)
        r.photo[i] = static_cast<std::uint8_t>((i * 2654435761u + static_cast<std::size_t>(k)) >> 11);
    r.boarding = to_gbk(u8"是");
    r.dorm_no = GbkString::ascii("3-" + std::to_string(k % 50));
    r.bed_no = GbkString::ascii(std::to_string(k % 8));
    r.id_card_no = GbkString::ascii("3301052005" + std::to_string(10000000 + k));
    r.home_address = to_gbk(u8"浙江省杭州市西湖区文三路") + GbkString::ascii(n) + to_gbk(u8"号");
    r.guardian1_relation = to_gbk(u8"父亲");
    r.guardian1_name = to_gbk(u8"家长") + GbkString::ascii(n);
    r.guardian1_phone = GbkString::ascii("138" + std::to_string(10000000 + k));
    r.guardian2_relation = to_gbk(u8"母亲");
    r.guardian2_name = to_gbk(u8"妈妈") + GbkString::ascii(n);
    r.guardian2_phone = GbkString::ascii("139" + std::to_string(10000000 + k));
    r.remarks = to_gbk(u8"无");
    return r;
}

// The registers, made once per size and removed at exit.
class Registers {
public:
    ~Registers() {
        std::error_code error;
        fs::remove_all(dir_, error);
    }

    // xsdate.edb with `count` students and an empty deldate.edb beside it.
    fs::path get(int count, std::size_t photo_size) {
        const std::string name = std::to_string(count) + "-" + std::to_string(photo_size);
        const fs::path folder = dir_ / name;
        if (fs::exists(folder / "deldate.edb")) return folder;
        fs::create_directories(folder);
        RecordDatabase::create_register(folder / "xsdate.edb");
        RecordDatabase db;
        db.open(folder / "xsdate.edb");
        for (int k = 1; k <= count; ++k) db.append(student(k, photo_size));
        db.close();
        RecordDatabase::create_register(folder / "deldate.edb");
        return folder;
    }

private:
    fs::path dir_ = fs::temp_directory_path() / ("wmb-db-bench-" + std::to_string(getpid()));
};

Registers registers;

void report_size(benchmark::State& state, const fs::path& file) {
    state.counters["file_MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
}

std::size_t photo_bytes(const benchmark::State& state) { return static_cast<std::size_t>(state.range(1)) * 1000; }

// fill_student_list: every field but the photo of every record.
void BM_ListFill(benchmark::State& state) {
    const fs::path file = registers.get(static_cast<int>(state.range(0)), photo_bytes(state)) / "xsdate.edb";
    RecordDatabase db;
    for (auto _ : state) {
        db.open(file);
        for (int k = 1; k <= db.record_count(); ++k) {
            db.go_to(k);
            for (int n = 1; n <= kFieldCount; ++n)
                if (n != kPhotoField) benchmark::DoNotOptimize(db.read_field(n));
        }
        db.close();
    }
    report_size(state, file);
}

// add_student: a scan for the identity-card number, one for the serial
// number, then the append.
void BM_Add(benchmark::State& state) {
    const fs::path file = registers.get(static_cast<int>(state.range(0)), photo_bytes(state)) / "xsdate.edb";
    RecordDatabase db;
    int added = 0;
    for (auto _ : state) {
        db.open(file);
        const int count = db.record_count();
        StudentRecord r = student(count + 1, photo_bytes(state));
        db.go_to_first();
        benchmark::DoNotOptimize(db.find([&](RecordDatabase& d) { return d.read_text(13) == r.id_card_no; }));
        db.go_to_first();
        benchmark::DoNotOptimize(db.find([&](RecordDatabase& d) { return d.read_integer(1) == -1; }));
        db.append(r);
        db.close();
        ++added;
    }
    report_size(state, file);
    // Back to the size the other cases expect.
    db.open(file);
    for (int k = db.record_count() - added + 1; k <= db.record_count(); ++k) {
        db.go_to(k);
        db.mark_deleted();
    }
    db.purge();
    db.close();
}

// transfer_selected_record to_deleted, for the student in the middle.
void BM_Delete(benchmark::State& state) {
    const fs::path folder = registers.get(static_cast<int>(state.range(0)), photo_bytes(state));
    const fs::path source = folder / "xsdate.edb";
    const fs::path target = folder / "deldate.edb";
    RecordDatabase db;
    StudentRecord moved;
    for (auto _ : state) {
        db.open(source);
        db.go_to(db.record_count() / 2);
        for (int n = 1; n <= kFieldCount; ++n) set_field(moved, n, db.read_field(n));
        db.mark_deleted();
        db.close();

        db.open(target);
        moved.serial_no = db.record_count() + 1;
        db.append(moved);
        db.close();

        db.open(source);
        db.purge();
        for (int k = 1; k <= db.record_count(); ++k) {
            db.go_to(k);
            StudentRecord r;
            for (int n = 2; n <= kFieldCount; ++n) set_field(r, n, db.read_field(n));
            r.serial_no = k;
            db.modify(r);
        }
        db.close();
    }
    report_size(state, source);
    // Put the moved students back at the end, so the register keeps its size.
    db.open(target);
    const int count = db.record_count();
    db.close();
    for (int i = 0; i < count; ++i) {
        db.open(target);
        db.go_to(i + 1);
        for (int n = 1; n <= kFieldCount; ++n) set_field(moved, n, db.read_field(n));
        db.close();
        db.open(source);
        db.append(moved);
        db.close();
    }
    db.open(target);
    db.clear();
    db.close();
}

// The register of 10,000 students with photos takes 2 GB: few rounds there.
BENCHMARK(BM_ListFill)->Unit(benchmark::kMillisecond)->Args({1000, 0})->Args({10000, 0})->Args({1000, 200});
BENCHMARK(BM_ListFill)->Unit(benchmark::kMillisecond)->Args({10000, 200})->Iterations(5);
BENCHMARK(BM_Add)->Unit(benchmark::kMillisecond)->Args({1000, 0})->Args({10000, 0})->Args({1000, 200})->Iterations(20);
BENCHMARK(BM_Add)->Unit(benchmark::kMillisecond)->Args({10000, 200})->Iterations(5);
BENCHMARK(BM_Delete)->Unit(benchmark::kMillisecond)->Args({1000, 0})->Args({10000, 0})->Args({1000, 200})->Iterations(5);
BENCHMARK(BM_Delete)->Unit(benchmark::kMillisecond)->Args({10000, 200})->Iterations(2);

}  // namespace
}  // namespace wmb
